// SPDX-License-Identifier: MIT
#pragma once

#include "core/filter/EntrySearch.h"

#include <QAbstractListModel>

class GroupSet;

// The filter's matches as one list model over the five groups: row i is
// match i, with the roles of its group's model (GroupModel), so that the
// matches show as any group does. It holds no entry of its own.
class MatchModel : public QAbstractListModel
{
    Q_OBJECT

public:
    explicit MatchModel(const GroupSet &groups, QObject *parent = nullptr);

    // The matches shown, in order; a reset.
    void setMatches(const QList<EntryRef> &matches);
    const QList<EntryRef> &matches() const { return m_matches; }

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QHash<int, QByteArray> roleNames() const override;

private:
    const GroupSet &m_groups;
    QList<EntryRef> m_matches;
};
