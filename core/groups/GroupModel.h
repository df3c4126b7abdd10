// SPDX-License-Identifier: MIT
#pragma once

#include "core/entries/EntryLine.h"
#include "core/files/FileStamp.h"
#include "core/groups/GroupFile.h"

#include <QAbstractListModel>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

Q_DECLARE_METATYPE(FileStamp)

// What one operation of a group model did, for those who show the group to
// follow it without reading it all again.
struct GroupChange {
    enum Kind {
        Reset,    // every entry may be new: `loaded` when read from the file
        Inserted, // `count` entries now stand from `first` on
        Removed,  // the entry at `first` is gone
        Moved,    // the entry at `first` now stands at `to`
        Replaced, // the entry at `first` is another one
    };
    Kind kind = Reset;
    qsizetype first = 0;
    qsizetype count = 0;
    qsizetype to = 0;
    bool loaded = false;
};

// Why an operation of a group model did nothing, or did not save.
struct GroupResult {
    enum Failure {
        None,
        BadPosition, // a position outside the entries
        NotAnEntry,  // a line break, or no file: it would not read back as one entry
        Unreadable,  // the file could not be read whole: never overwritten
        WriteFailed, // `error` holds the system's reason
        EditRefused, // the file changed elsewhere and the edit cannot be laid over it
    };
    Failure failure = None;
    QString error;
    explicit operator bool() const { return failure == None; }
};

// One group: its file, its ordered entries, and the file as we last read or
// wrote it. Every change goes through an operation, which says why when it
// fails and otherwise tells what changed, both as an item model (one row an
// entry, the roles below) and through changed(). Each entry keeps the last
// look at its file, so that a view knows a missing file without looking.
class GroupModel : public QAbstractListModel
{
    Q_OBJECT

public:
    explicit GroupModel(const QString &path, QObject *parent = nullptr);

    // Qt::DisplayRole is the name a person is told (the hint, else the
    // file's name).
    enum Role {
        FileRole = Qt::UserRole + 1, // QString: the entry's file
        ParamsRole,                  // QString: its parameters
        HintRole,                    // QString: its hint as written
        LineRole,                    // QString: its line as saved
        StampRole,                   // FileStamp: the last look at its file; none for an entry made since
        MissingRole,                 // bool: the file was not there at that look
        // States the bar adds to entries it starts and sees running.
        StartingRole,
        RunningRole,
    };
    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QHash<int, QByteArray> roleNames() const override;
    // The last look at entry i's file; none for an entry made by an
    // operation (a drop names a file that is there) and outside the entries.
    std::optional<FileStamp> stamp(qsizetype i) const;

    const QString &path() const { return m_path; }
    // Positions count entries: the lines with a button. The lines that make
    // no entry are kept in the model at their place among the entries, and
    // written back as they came, but have no position.
    qsizetype size() const { return m_entries.size(); }
    bool isEmpty() const { return m_entries.isEmpty(); }
    // The entry's line as it is saved; empty outside the entries.
    QString line(qsizetype i) const;
    // The entries' lines.
    QStringList lines() const;
    // Every line a save writes: the entries' and the kept lines, in order.
    QStringList fileLines() const;
    // The entry a line makes; an empty one for a line that makes none
    // (setLines keeps such a line as it is).
    TRec entry(qsizetype i) const;
    // Lines the file held when last read, entries or not.
    qsizetype fileLineCount() const { return m_fileLineCount; }
    bool isUnreadable() const { return m_unreadable; }
    // Why the file could not be read, when it could not.
    GroupFileContent::Problem unreadableProblem() const { return m_problem; }
    int unreadableError() const { return m_error; }
    // The file is not as we last read or wrote it: another program changed,
    // replaced, made or removed it. Our own saves never make it so.
    bool changedOnDisk() const;
    // An operation changed the entries and no save or load has taken them
    // since: reading the file now would lose them.
    bool hasUnsavedChanges() const { return m_unsaved; }

    // The load rule: a line is an entry when it splits into one naming a
    // file, whether that file is there or not (a drive not mounted, a
    // program being upgraded): the line must outlive the file's absence.
    static std::optional<TRec> entryOfLine(const QString &line);

    // Reads the file: its lines replace ours. Unreadable when the file
    // could not be read whole; what could be read is kept all the same.
    // The Reset it announces carries a look at each entry's file.
    GroupResult reload();
    GroupResult append(const QList<TRec> &entries);
    // Before the entry at `before`; at the end when `before` is size().
    GroupResult insert(qsizetype before, const QList<TRec> &entries);
    GroupResult replace(qsizetype i, const TRec &entry);
    GroupResult move(qsizetype from, qsizetype to);
    GroupResult remove(qsizetype i);
    // A whole new list of entries (the settings dialog's confirmed order),
    // kept line for line as given; the kept lines stay where they stood
    // among the first entries.
    GroupResult setLines(const QStringList &lines);

    // Entry i's file was looked at again: its stamp, and its missing state,
    // follow.
    void setStamp(qsizetype i, const FileStamp &stamp);

    // Writes the entries; `edit` is the user's change that led to the save.
    // When someone else changed the file since we last read or wrote it, the
    // edit is made to the file's lines instead and the file read again, so
    // neither change is lost; EditRefused when it cannot be made there (the
    // file is read again all the same). With `createFolder` a missing folder
    // is made first.
    GroupResult save(const GroupEdit &edit = {}, bool createFolder = false);

Q_SIGNALS:
    void changed(const GroupChange &change);

private:
    struct Entry {
        // The line as given, where it is not the entry's fields joined; an
        // entry read from the file is kept as its fields alone, so that a
        // group of thousands keeps each text once.
        std::optional<QString> given;
        TRec rec;
        // A loaded entry's file is looked at when first asked about: a view
        // asks only for the rows it shows, and a group of thousands of
        // entries opens without waiting for every file.
        mutable std::optional<FileStamp> stamp;
        mutable bool lookPending = false;
        const std::optional<FileStamp> &looked() const;
        QString line() const;
    };
    // A line that makes no entry, standing after the first `slot` entries.
    struct KeptLine {
        qsizetype slot = 0;
        QString line;
        QByteArray bytesAsRead; // see GroupFileContent
    };
    static Entry entryOf(const TRec &rec);
    static bool fitsOneLine(const TRec &rec);
    GroupResult saveOverChangedFile(const GroupEdit &edit);
    QList<QByteArray> fileBytesAsRead() const;
    // Calls visit(line, bytesAsRead) for every line of the file, in order.
    template<typename Visit>
    void visitFileLines(Visit visit) const;
    // Adds `by` to the slot of each kept line standing in [from, to].
    void shiftKeptLines(qsizetype from, qsizetype to, qsizetype by);

    const QString m_path;
    QList<Entry> m_entries;
    QList<KeptLine> m_kept; // in file order: their slots never decrease
    qsizetype m_fileLineCount = 0;
    bool m_unreadable = false;
    GroupFileContent::Problem m_problem = GroupFileContent::NoProblem;
    int m_error = 0;
    // None for a file never read.
    std::optional<FileStamp> m_stamp;
    bool m_unsaved = false;
};
