// SPDX-License-Identifier: MIT
#pragma once

#include "core/files/FileStamp.h"
#include "core/files/LocaleCodec.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <limits>
#include <optional>

// The groups' list files: one entry line per line, in the locale's character
// set, every line ended by CR LF.

constexpr int kGroupCount = 5;

// A group shows at most this many lines; a file with more is far beyond any
// real group and is read only in part.
constexpr qsizetype kMaxGroupLines = 10000;

// "QuillbrookPath.txt" for group 0, "QuillbrookPath<n>.txt" for 1 to 4.
QString groupFileName(int group);

// Decodes a file's bytes: a UTF-8, UTF-16LE or UTF-16BE byte-order mark
// selects that encoding (the mark is skipped); anything else is read in the
// locale's character set when it reads there without loss, else as UTF-8
// when it is valid UTF-8. *decoding, when given, tells which it was; Lossy
// when some bytes became U+FFFD.
QString decodeGroupText(const QByteArray &bytes, LocaleCodec::Decoding *decoding = nullptr);

// Lines end at CR LF, a lone LF or a lone CR; a break at the very end adds no
// empty line, an empty line in the middle is a line. Stops after
// `maxLines` lines.
QStringList splitTextLines(QStringView text, qsizetype maxLines = std::numeric_limits<qsizetype>::max());

struct GroupFileContent {
    enum Status {
        Missing, // no such file: an empty group that may be written
        // Exists but could not be read whole, or not without loss in any
        // character set: never overwritten. `lines` holds what could be read
        // (the first lines of a file too large to read whole).
        Unreadable,
        Read,
    };
    // Why an Unreadable file could not be read.
    enum Problem {
        NoProblem,
        SystemError, // `error` holds the errno of the call that failed
        NotAFile,    // a FIFO, a device or a socket stands in its place
        TooLarge,    // read only in part
        Undecodable, // bytes that no character set reads without loss or doubt
    };
    Status status = Missing;
    QStringList lines;
    // The bytes of line i as read, where writing its text in the locale's
    // character set would not give them back (two codes for one character);
    // empty where it would, and for a file read in any other encoding.
    QList<QByteArray> bytesAsRead;
    // Taken before reading: a change made while we read shows as a change.
    FileStamp stamp;
    Problem problem = NoProblem;
    int error = 0;
};

// Bytes that read cleanly both in the locale's character set and as UTF-8,
// yet differently, are read the way under which more entries name files that
// are there (the locale's on a tie); when each way finds a file the other
// does not, no reading keeps every entry, and the file is Unreadable.
GroupFileContent readGroupFile(const QString &path);

// One change the user made to a group, kept so that it can be made again
// to the lines of a file someone else changed since we read it: saving the
// lines in memory would lose that other change.
struct GroupEdit {
    enum Kind {
        Keep,    // nothing of the user's is waiting: the file's lines win
        Append,  // `added` go at the end, in order
        Remove,  // the entry of `line` goes, if it is still there
        Replace, // the entry of `line` becomes `newLine`
        Reorder, // a whole new order, which cannot be laid over another's
        Insert,  // `added` go before the entry of `line`; at the end when it is gone
        Move,    // the entry of `line` goes just before the entry of `anchor`, or after it
    };
    Kind kind = Keep;
    QString line;
    QString newLine;
    // The new lines of one drop, saved in one write.
    QStringList added;
    // A Move's neighbour: the entry the moved one now stands next to, as the
    // user placed it; `after` when it stands just after it.
    QString anchor = {};
    bool after = false;
};

// `lines` (as read from a file) with `edit` made to them; nothing when it
// cannot be made: a new order, a replaced entry whose file is no longer in
// the lines, or a move whose entry or neighbour is gone. Lines are matched by the entry they make, so a line written
// by hand in another form ("path" for "path,,") is still found. A replaced
// line is found as it was, else by its file.
std::optional<QStringList> applyGroupEdit(QStringList lines, const GroupEdit &edit);

// Each line followed by CR LF, in the locale's character set; when a
// character has no form there, UTF-8 with a byte-order mark instead.
// `bytesAsRead`, aligned with `lines`, gives a line's bytes as read (see
// GroupFileContent): written instead of its text whenever the file is
// written in the locale's character set, so a line we do not understand
// goes back exactly as it came.
QByteArray encodeGroupFile(const QStringList &lines, const QList<QByteArray> &bytesAsRead = {});

// Writes the lines atomically. On failure returns false and sets *error
// to the system's error text.
bool writeGroupFile(const QString &path, const QStringList &lines, QString *error,
                    const QList<QByteArray> &bytesAsRead = {});
