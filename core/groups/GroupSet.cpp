// SPDX-License-Identifier: MIT
#include "core/groups/GroupSet.h"

GroupSet::GroupSet(const QString &home, QObject *parent)
    : QObject(parent)
{
    for (int group = 0; group < kGroupCount; ++group) {
        m_models[group] = new GroupModel(home + groupFileName(group), this);
        connect(m_models[group], &GroupModel::changed, this,
                [this, group](const GroupChange &change) { Q_EMIT changed(group, change); });
    }
}

GroupResult GroupSet::reload(int group)
{
    return m_models.at(group)->reload();
}

void GroupSet::readIfChanged(int group)
{
    GroupModel &model = *m_models.at(group);
    if (!model.hasUnsavedChanges() && model.changedOnDisk())
        model.reload();
}

GroupResult GroupSet::insert(int group, qsizetype before, const QList<TRec> &entries)
{
    GroupModel &model = *m_models.at(group);
    const bool atEnd = before < 0 || before >= model.size();
    const qsizetype first = atEnd ? model.size() : before;
    const QString beforeLine = model.line(first);
    if (GroupResult result = model.insert(first, entries); !result)
        return result;
    QStringList added;
    for (qsizetype i = first; i < first + entries.size(); ++i)
        added.append(model.line(i));
    return saveEdit(group, atEnd ? GroupEdit{GroupEdit::Append, {}, {}, added}
                                 : GroupEdit{GroupEdit::Insert, beforeLine, {}, added});
}

GroupResult GroupSet::replace(int group, qsizetype i, const TRec &entry)
{
    GroupModel &model = *m_models.at(group);
    GroupEdit edit{GroupEdit::Replace, model.line(i), {}, {}};
    if (GroupResult result = model.replace(i, entry); !result)
        return result;
    edit.newLine = model.line(i);
    return saveEdit(group, edit);
}

GroupResult GroupSet::move(int group, qsizetype from, qsizetype to)
{
    GroupModel &model = *m_models.at(group);
    if (from == to)
        return {GroupResult::BadPosition, {}};
    if (GroupResult result = model.move(from, to); !result)
        return result;
    // Kept as "next to which entry", so that it can be made to a file
    // changed by hand meanwhile: after the one it passed going right,
    // before the one it passed going left.
    const bool after = to > from;
    return saveEdit(group, {GroupEdit::Move, model.line(to), {}, {}, model.line(after ? to - 1 : to + 1), after});
}

GroupResult GroupSet::remove(int group, qsizetype i)
{
    GroupModel &model = *m_models.at(group);
    const QString line = model.line(i);
    if (GroupResult result = model.remove(i); !result)
        return result;
    return saveEdit(group, {GroupEdit::Remove, line, {}, {}});
}

GroupResult GroupSet::setLines(int group, const QStringList &lines)
{
    if (GroupResult result = m_models.at(group)->setLines(lines); !result)
        return result;
    return saveEdit(group, {GroupEdit::Reorder, {}, {}, {}});
}

void GroupSet::lookAgain(int group)
{
    for (qsizetype i = 0; i < m_models.at(group)->size(); ++i)
        lookAgain(group, i);
}

FileStamp GroupSet::lookAgain(int group, qsizetype i)
{
    GroupModel &model = *m_models.at(group);
    const FileStamp stamp = fileStamp(model.entry(i).fname);
    model.setStamp(i, stamp);
    return stamp;
}

GroupResult GroupSet::save(int group)
{
    return saveEdit(group, {});
}

GroupResult GroupSet::saveEdit(int group, const GroupEdit &edit)
{
    GroupResult result = m_models.at(group)->save(edit, m_createFolder);
    if (result)
        Q_EMIT saved(group);
    else
        Q_EMIT saveFailed(group, result, edit);
    return result;
}
