// SPDX-License-Identifier: MIT
#pragma once

#include "core/groups/GroupModel.h"

#include <QObject>

#include <array>

// The five groups, owned in one place: the bar, the filter and both dialogs
// share it. Outside it a group is read only; every change goes through an
// operation here, which saves at once, so no one can change a group and
// forget (or repeat) its save. A save that fails is announced through
// saveFailed() for the window to tell the user; the operation's result says
// the same to its caller.
class GroupSet : public QObject
{
    Q_OBJECT

public:
    // The groups' files are `home` + groupFileName(group).
    explicit GroupSet(const QString &home, QObject *parent = nullptr);

    // A missing home folder is made at a save instead of failing it.
    void setCreateFolder(bool on) { m_createFolder = on; }

    const GroupModel &group(int group) const { return *m_models.at(group); }
    const GroupModel *operator[](int group) const { return m_models.at(group); }

    // Reads group `group` from its file; Unreadable when it could not be
    // read whole (what could be read is shown all the same).
    GroupResult reload(int group);
    // Reads a group that was never read or that another program changed,
    // unless it holds changes of the user's not yet saved.
    void readIfChanged(int group);

    // Entries added before entry `before`, or at the end when `before` is
    // not one of them; saved in one write.
    GroupResult insert(int group, qsizetype before, const QList<TRec> &entries);
    GroupResult replace(int group, qsizetype i, const TRec &entry);
    GroupResult move(int group, qsizetype from, qsizetype to);
    GroupResult remove(int group, qsizetype i);
    // A whole new order (the settings dialog's confirmed list).
    GroupResult setLines(int group, const QStringList &lines);
    // Saves what the group holds (after a save that failed, say).
    GroupResult save(int group);
    // Looks at the files of the group's entries again (of entry `i` alone),
    // for one that went or came back; the entries' stamps follow.
    void lookAgain(int group);
    FileStamp lookAgain(int group, qsizetype i);

Q_SIGNALS:
    // Group `group` changed (GroupModel::changed).
    void changed(int group, const GroupChange &change);
    // A save wrote the group's file.
    void saved(int group);
    // A save of `edit` failed; the group keeps the change in memory, or was
    // read again when another program's change could not take it.
    void saveFailed(int group, const GroupResult &result, const GroupEdit &edit);

private:
    GroupResult saveEdit(int group, const GroupEdit &edit);

    std::array<GroupModel *, kGroupCount> m_models{};
    bool m_createFolder = false;

    // Tests make a change without its save, as a failed save leaves it.
    friend struct GroupSetProbe;
};
