// SPDX-License-Identifier: MIT
#include "core/groups/GroupModel.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

GroupModel::GroupModel(const QString &path, QObject *parent)
    : QObject(parent)
    , m_path(path)
{
}

QString GroupModel::line(qsizetype i) const
{
    return i >= 0 && i < m_entries.size() ? m_entries.at(i).line : QString();
}

QStringList GroupModel::lines() const
{
    QStringList lines;
    lines.reserve(m_entries.size());
    for (const Entry &entry : m_entries)
        lines.append(entry.line);
    return lines;
}

TRec GroupModel::entry(qsizetype i) const
{
    return i >= 0 && i < m_entries.size() ? m_entries.at(i).rec : TRec();
}

std::optional<TRec> GroupModel::loadableEntry(const QString &line, FileStamp *stamp)
{
    std::optional<TRec> entry = recFromFields(splitEntryLine(line));
    if (!entry || entry->fname.isEmpty())
        return std::nullopt;
    // Folders are kept too: they open in the file manager.
    *stamp = fileStamp(entry->fname);
    if (!stamp->isFileOrFolder())
        return std::nullopt;
    return entry;
}

GroupModel::Entry GroupModel::entryOf(const TRec &rec)
{
    return {joinEntryLine(rec), rec};
}

bool GroupModel::fitsOneLine(const TRec &rec)
{
    const auto hasBreak = [](const QString &text) {
        return text.contains(QLatin1Char('\n')) || text.contains(QLatin1Char('\r'));
    };
    return !rec.fname.isEmpty() && !hasBreak(rec.fname) && !hasBreak(rec.param) && !hasBreak(rec.hint);
}

GroupResult GroupModel::reload()
{
    const GroupFileContent content = readGroupFile(m_path);
    m_unreadable = content.status == GroupFileContent::Unreadable;
    m_stamp = content.stamp;
    m_fileLineCount = content.lines.size();
    m_entries.clear();
    GroupChange change{GroupChange::Reset, 0, 0, 0, true, {}};
    for (const QString &line : content.lines) {
        FileStamp stamp;
        if (const std::optional<TRec> rec = loadableEntry(line, &stamp)) {
            m_entries.append(entryOf(*rec));
            change.stamps.append(stamp);
        }
    }
    change.count = m_entries.size();
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
    for (qsizetype k = 0; k < entries.size(); ++k)
        m_entries.insert(before + k, entryOf(entries.at(k)));
    Q_EMIT changed({GroupChange::Inserted, before, entries.size(), 0, false, {}});
    return {};
}

GroupResult GroupModel::replace(qsizetype i, const TRec &entry)
{
    if (i < 0 || i >= m_entries.size())
        return {GroupResult::BadPosition, {}};
    if (!fitsOneLine(entry))
        return {GroupResult::NotAnEntry, {}};
    m_entries[i] = entryOf(entry);
    Q_EMIT changed({GroupChange::Replaced, i, 1, 0, false, {}});
    return {};
}

GroupResult GroupModel::move(qsizetype from, qsizetype to)
{
    const qsizetype count = m_entries.size();
    if (from < 0 || to < 0 || from >= count || to >= count)
        return {GroupResult::BadPosition, {}};
    if (from == to)
        return {};
    m_entries.move(from, to);
    Q_EMIT changed({GroupChange::Moved, from, 1, to, false, {}});
    return {};
}

GroupResult GroupModel::remove(qsizetype i)
{
    if (i < 0 || i >= m_entries.size())
        return {GroupResult::BadPosition, {}};
    m_entries.removeAt(i);
    Q_EMIT changed({GroupChange::Removed, i, 1, 0, false, {}});
    return {};
}

GroupResult GroupModel::setLines(const QStringList &lines)
{
    const bool oneLineEach = std::none_of(lines.cbegin(), lines.cend(), [](const QString &line) {
        return line.contains(QLatin1Char('\n')) || line.contains(QLatin1Char('\r'));
    });
    if (!oneLineEach)
        return {GroupResult::NotAnEntry, {}};
    m_entries.clear();
    m_entries.reserve(lines.size());
    for (const QString &line : lines)
        m_entries.append({line, recFromFields(splitEntryLine(line)).value_or(TRec())});
    Q_EMIT changed({GroupChange::Reset, 0, m_entries.size(), 0, false, {}});
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
    if (!writeGroupFile(m_path, lines(), &error))
        return {GroupResult::WriteFailed, error};
    m_stamp = fileStamp(m_path);
    return {};
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
        QString error;
        if (!writeGroupFile(m_path, *merged, &error))
            return {GroupResult::WriteFailed, error};
    }
    // The entries are the file's as it is now.
    reload();
    if (merged)
        return {};
    return {GroupResult::EditRefused, {}};
}
