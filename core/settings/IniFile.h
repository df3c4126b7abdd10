// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

// An INI file that is read and rewritten the way hand-edited settings files
// expect: every line we do not change comes out byte for byte.
//
// Reading: lines end in CR LF, LF or a lone CR; section and key names match
// without regard to case; blanks and tabs around names and values are
// ignored; a value in one pair of matching double or single quotes reads
// without them; values are cut at 2047 characters; only the first section of
// a name counts, and in it the first key of a name; a line without "=" is no
// key. A UTF-8 byte-order mark is skipped and kept; a UTF-16LE one makes the
// whole file UTF-16LE. Anything else is read line by line: in the locale's
// character set when the line reads there without loss, else as UTF-8 when
// it is valid UTF-8. A key whose line reads in neither has no value.
//
// Writing: an unchanged value leaves its line alone; a changed key line
// becomes "Key=value" with the key spelled as in the file; a missing key goes
// after the last non-blank line of its section; a missing section goes at the
// end of the file. New lines end in CR LF. When a value has no form in the
// locale's character set, the whole file is written as UTF-16LE. A line that
// could not be decoded is never rewritten: setting its key changes nothing,
// and neither does a value that would turn such a file to UTF-16LE.
class IniFile
{
public:
    enum class Encoding { Locale, Utf8Bom, Utf16LE };

    IniFile() = default;
    static IniFile fromBytes(const QByteArray &bytes);

    // A missing or unreadable file gives an empty one. A file that is there
    // but cannot be read whole (not a regular file, not readable, larger than
    // any settings file) gives what could be read of it, and is never
    // written over: save() fails.
    static IniFile load(const QString &path);

    std::optional<QString> value(QStringView section, QStringView key) const;
    void setValue(const QString &section, const QString &key, const QString &value);

    Encoding encoding() const { return m_encoding; }
    QByteArray toBytes() const;

    // Atomic write; on failure returns false and sets *error.
    bool save(const QString &path, QString *error) const;

private:
    struct Line {
        QByteArray raw;     // the line's bytes as read, its line break included
        QString text;       // decoded, without the line break
        QByteArray eol;     // the line break's bytes
        bool lossy = false; // some bytes did not decode: `text` is not what `raw` holds
    };

    // Stops after `maxLines` lines; a file with more is kept as it is.
    static IniFile fromBytes(const QByteArray &bytes, qsizetype maxLines);
    qsizetype findSection(QStringView section) const;
    qsizetype findKey(qsizetype sectionLine, QStringView key) const;
    bool isSectionLine(qsizetype index) const;
    QByteArray encodedEol() const;
    // std::nullopt when the text could only be written by re-encoding a line
    // that did not decode.
    std::optional<Line> makeLine(const QString &text, const QByteArray &eol);
    void endLine(qsizetype index);
    void convertToUtf16LE();

    // Far beyond any settings file: a larger one is not ours, and reading it
    // whole would hold up the start and eat memory.
    static constexpr qint64 kMaxFileSize = 4 * 1024 * 1024;
    static constexpr qsizetype kMaxLines = 100000;

    QList<Line> m_lines;
    bool m_keepFile = false;
    QByteArray m_tail; // an odd last byte of a UTF-16LE file, kept as it was
    Encoding m_encoding = Encoding::Locale;
};
