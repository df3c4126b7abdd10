// SPDX-License-Identifier: MIT
#include "core/groups/GroupModel.h"

#include "core/entries/AccessibleEntry.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>

#include <algorithm>

GroupModel::GroupModel(const QString &path, QObject *parent)
    : QAbstractListModel(parent)
    , m_path(path)
{
}

int GroupModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_entries.size());
}

QVariant GroupModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_entries.size())
        return {};
    const Entry &entry = m_entries.at(index.row());
    switch (role) {
    case Qt::DisplayRole:
        return accessibleEntryName(entry.rec);
    case FileRole:
        return entry.rec.fname;
    case ParamsRole:
        return entry.rec.param;
    case HintRole:
        return entry.rec.hint;
    case LineRole:
        return entry.line();
    case StampRole:
        return entry.looked() ? QVariant::fromValue(*entry.stamp) : QVariant();
    case MissingRole:
        return entry.looked() && !entry.stamp->isFileOrFolder();
    default:
        return {};
    }
}

QHash<int, QByteArray> GroupModel::roleNames() const
{
    QHash<int, QByteArray> names = QAbstractListModel::roleNames();
    names.insert({{FileRole, "file"},
                  {ParamsRole, "params"},
                  {HintRole, "hint"},
                  {LineRole, "line"},
                  {StampRole, "stamp"},
                  {MissingRole, "missing"},
                  {StartingRole, "starting"},
                  {RunningRole, "running"}});
    return names;
}

const std::optional<FileStamp> &GroupModel::Entry::looked() const
{
    if (lookPending) {
        stamp = fileStamp(rec.fname);
        lookPending = false;
    }
    return stamp;
}

std::optional<FileStamp> GroupModel::stamp(qsizetype i) const
{
    return i >= 0 && i < m_entries.size() ? m_entries.at(i).looked() : std::nullopt;
}

void GroupModel::setStamp(qsizetype i, const FileStamp &stamp)
{
    if (i < 0 || i >= m_entries.size() || (!m_entries.at(i).lookPending && m_entries.at(i).stamp == stamp))
        return;
    m_entries[i].stamp = stamp;
    m_entries[i].lookPending = false;
    const QModelIndex at = index(int(i));
    Q_EMIT dataChanged(at, at, {StampRole, MissingRole});
}

QString GroupModel::line(qsizetype i) const
{
    return i >= 0 && i < m_entries.size() ? m_entries.at(i).line() : QString();
}

QStringList GroupModel::lines() const
{
    QStringList lines;
    lines.reserve(m_entries.size());
    for (const Entry &entry : m_entries)
        lines.append(entry.line());
    return lines;
}

template<typename Visit>
void GroupModel::visitFileLines(Visit visit) const
{
    auto kept = m_kept.cbegin();
    for (qsizetype i = 0; i <= m_entries.size(); ++i) {
        for (; kept != m_kept.cend() && (kept->slot <= i || i == m_entries.size()); ++kept)
            visit(kept->line, kept->bytesAsRead);
        if (i < m_entries.size())
            visit(m_entries.at(i).line(), QByteArray());
    }
}

QStringList GroupModel::fileLines() const
{
    QStringList lines;
    lines.reserve(m_entries.size() + m_kept.size());
    visitFileLines([&](const QString &line, const QByteArray &) { lines.append(line); });
    return lines;
}

void GroupModel::shiftKeptLines(qsizetype from, qsizetype to, qsizetype by)
{
    for (KeptLine &kept : m_kept) {
        if (kept.slot >= from && kept.slot <= to)
            kept.slot += by;
    }
}

TRec GroupModel::entry(qsizetype i) const
{
    return i >= 0 && i < m_entries.size() ? m_entries.at(i).rec : TRec();
}

std::optional<TRec> GroupModel::entryOfLine(const QString &line)
{
    std::optional<TRec> entry = recFromFields(splitEntryLine(line));
    // A blank name opens nothing and would stand as an empty button.
    if (!entry || entry->fname.trimmed().isEmpty())
        return std::nullopt;
    // Control characters in the name are far more often a damaged or
    // foreign file than a name: such a line becomes a greyed button only
    // when its file is really there.
    const bool oddName = std::any_of(entry->fname.cbegin(), entry->fname.cend(),
                                     [](QChar c) { return c.unicode() < 0x20 || c.unicode() == 0x7f; });
    if (oddName && !fileStamp(entry->fname).isFileOrFolder())
        return std::nullopt;
    return entry;
}

GroupModel::Entry GroupModel::entryOf(const TRec &rec)
{
    return {std::nullopt, rec, std::nullopt};
}

QString GroupModel::Entry::line() const
{
    return given ? *given : joinEntryLine(rec);
}

// Would not read back as one line of the file.
static bool hasLineBreak(const QString &text)
{
    return text.contains(QLatin1Char('\n')) || text.contains(QLatin1Char('\r'));
}

bool GroupModel::fitsOneLine(const TRec &rec)
{
    return !rec.fname.isEmpty() && !hasLineBreak(rec.fname) && !hasLineBreak(rec.param) && !hasLineBreak(rec.hint);
}

bool GroupModel::changedOnDisk() const
{
    return !m_stamp || fileStamp(m_path) != *m_stamp;
}

GroupResult GroupModel::reload()
{
    const GroupFileContent content = readGroupFile(m_path);
    m_unreadable = content.status == GroupFileContent::Unreadable;
    m_problem = content.problem;
    m_error = content.error;
    m_stamp = content.stamp;
    m_fileLineCount = content.lines.size();
    beginResetModel();
    m_entries.clear();
    m_entries.reserve(content.lines.size());
    m_kept.clear();
    m_unsaved = false;
    GroupChange change{GroupChange::Reset, 0, 0, 0, true};
    for (qsizetype i = 0; i < content.lines.size(); ++i) {
        const QString &line = content.lines.at(i);
        if (const std::optional<TRec> rec = entryOfLine(line)) {
            m_entries.append(entryOf(*rec));
            // Looked at once, when first asked about; kept so that nobody
            // looks again.
            m_entries.last().lookPending = true;
        } else if (!line.isEmpty()) {
            // An empty line says nothing: it goes at the next save, as
            // it always has.
            m_kept.append({m_entries.size(), line, content.bytesAsRead.value(i)});
        }
    }
    change.count = m_entries.size();
    endResetModel();
    Q_EMIT changed(change);
    if (m_unreadable)
        return {GroupResult::Unreadable, {}};
    return {};
}

GroupResult GroupModel::append(const QList<TRec> &entries)
{
    return insert(m_entries.size(), entries);
}

GroupResult GroupModel::insert(qsizetype before, const QList<TRec> &entries)
{
    if (before < 0 || before > m_entries.size())
        return {GroupResult::BadPosition, {}};
    if (!std::all_of(entries.cbegin(), entries.cend(), fitsOneLine))
        return {GroupResult::NotAnEntry, {}};
    if (entries.isEmpty())
        return {};
    beginInsertRows({}, int(before), int(before + entries.size() - 1));
    for (qsizetype k = 0; k < entries.size(); ++k)
        m_entries.insert(before + k, entryOf(entries.at(k)));
    endInsertRows();
    // A kept line just before the entry `before` stays before the new ones.
    shiftKeptLines(before + 1, m_entries.size(), entries.size());
    m_unsaved = true;
    Q_EMIT changed({GroupChange::Inserted, before, entries.size(), 0, false});
    return {};
}

GroupResult GroupModel::replace(qsizetype i, const TRec &entry)
{
    if (i < 0 || i >= m_entries.size())
        return {GroupResult::BadPosition, {}};
    if (!fitsOneLine(entry))
        return {GroupResult::NotAnEntry, {}};
    m_entries[i] = entryOf(entry);
    m_entries[i].stamp = fileStamp(entry.fname);
    m_unsaved = true;
    Q_EMIT dataChanged(index(int(i)), index(int(i)));
    Q_EMIT changed({GroupChange::Replaced, i, 1, 0, false});
    return {};
}

GroupResult GroupModel::move(qsizetype from, qsizetype to)
{
    const qsizetype count = m_entries.size();
    if (from < 0 || to < 0 || from >= count || to >= count)
        return {GroupResult::BadPosition, {}};
    if (from == to)
        return {};
    // The item model's destination is the row the moved one goes before.
    beginMoveRows({}, int(from), int(from), {}, int(to > from ? to + 1 : to));
    m_entries.move(from, to);
    endMoveRows();
    // The kept lines stay among the entries around them; only the moved
    // one leaves its place.
    if (from < to)
        shiftKeptLines(from + 1, to, -1);
    else
        shiftKeptLines(to + 1, from, 1);
    m_unsaved = true;
    Q_EMIT changed({GroupChange::Moved, from, 1, to, false});
    return {};
}

GroupResult GroupModel::remove(qsizetype i)
{
    if (i < 0 || i >= m_entries.size())
        return {GroupResult::BadPosition, {}};
    beginRemoveRows({}, int(i), int(i));
    m_entries.removeAt(i);
    endRemoveRows();
    shiftKeptLines(i + 1, m_entries.size() + 1, -1);
    m_unsaved = true;
    Q_EMIT changed({GroupChange::Removed, i, 1, 0, false});
    return {};
}

GroupResult GroupModel::setLines(const QStringList &lines)
{
    if (std::any_of(lines.cbegin(), lines.cend(), hasLineBreak))
        return {GroupResult::NotAnEntry, {}};
    // A new order of the same entries needs no new look at their files.
    QHash<QString, const Entry *> looked;
    for (const Entry &entry : std::as_const(m_entries))
        looked.insert(entry.line(), &entry);
    QList<Entry> entries;
    entries.reserve(lines.size());
    for (const QString &line : lines) {
        Entry entry{std::nullopt, recFromFields(splitEntryLine(line)).value_or(TRec()), std::nullopt};
        if (joinEntryLine(entry.rec) != line)
            entry.given = line;
        if (const Entry *known = looked.value(line)) {
            entry.stamp = known->stamp;
            entry.lookPending = known->lookPending;
        }
        entries.append(std::move(entry));
    }
    beginResetModel();
    m_entries = std::move(entries);
    endResetModel();
    for (KeptLine &kept : m_kept)
        kept.slot = std::min(kept.slot, m_entries.size());
    m_unsaved = true;
    Q_EMIT changed({GroupChange::Reset, 0, m_entries.size(), 0, false});
    return {};
}

GroupResult GroupModel::save(const GroupEdit &edit, bool createFolder)
{
    // A file we could not read may hold entries we never saw.
    if (m_unreadable)
        return {GroupResult::Unreadable, {}};
    if (m_stamp && fileStamp(m_path) != *m_stamp)
        return saveOverChangedFile(edit);
    if (createFolder)
        QDir().mkpath(QFileInfo(m_path).path());
    QString error;
    if (!writeGroupFile(m_path, fileLines(), &error, fileBytesAsRead()))
        return {GroupResult::WriteFailed, error};
    m_stamp = fileStamp(m_path);
    m_unsaved = false;
    return {};
}

QList<QByteArray> GroupModel::fileBytesAsRead() const
{
    const bool any = std::any_of(m_kept.cbegin(), m_kept.cend(),
                                 [](const KeptLine &kept) { return !kept.bytesAsRead.isEmpty(); });
    if (!any)
        return {};
    // Aligned with fileLines(): entries are written from their text.
    QList<QByteArray> bytes;
    visitFileLines([&](const QString &, const QByteArray &asRead) { bytes.append(asRead); });
    return bytes;
}

GroupResult GroupModel::saveOverChangedFile(const GroupEdit &edit)
{
    const GroupFileContent onDisk = readGroupFile(m_path);
    // Refused without reading the file again: the user's change stays in
    // memory, and the file stays as it is.
    if (onDisk.status == GroupFileContent::Unreadable)
        return {GroupResult::Unreadable, {}};
    const std::optional<QStringList> merged = applyGroupEdit(onDisk.lines, edit);
    if (merged && *merged != onDisk.lines) {
        // The other writer's lines keep their bytes too.
        QHash<QString, QByteArray> asRead;
        for (qsizetype i = 0; i < onDisk.bytesAsRead.size(); ++i) {
            if (!onDisk.bytesAsRead.at(i).isEmpty())
                asRead.insert(onDisk.lines.at(i), onDisk.bytesAsRead.at(i));
        }
        QList<QByteArray> bytes;
        if (!asRead.isEmpty()) {
            for (const QString &line : *merged)
                bytes.append(asRead.value(line));
        }
        QString error;
        if (!writeGroupFile(m_path, *merged, &error, bytes))
            return {GroupResult::WriteFailed, error};
    }
    // The entries are the file's as it is now.
    reload();
    if (merged)
        return {};
    return {GroupResult::EditRefused, {}};
}
