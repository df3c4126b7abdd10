// SPDX-License-Identifier: MIT
#include "core/filter/MatchModel.h"

#include "core/groups/GroupSet.h"

MatchModel::MatchModel(const GroupSet &groups, QObject *parent)
    : QAbstractListModel(parent)
    , m_groups(groups)
{
}

void MatchModel::setMatches(const QList<EntryRef> &matches)
{
    beginResetModel();
    m_matches = matches;
    endResetModel();
}

int MatchModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_matches.size());
}

QVariant MatchModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_matches.size())
        return {};
    const EntryRef &match = m_matches.at(index.row());
    if (match.group < 0 || match.group >= kGroupCount)
        return {};
    const GroupModel &group = m_groups.group(match.group);
    return group.data(group.index(int(match.index)), role);
}

QHash<int, QByteArray> MatchModel::roleNames() const
{
    return m_groups.group(0).roleNames();
}
