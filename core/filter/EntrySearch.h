// SPDX-License-Identifier: MIT
#pragma once

#include "core/filter/EntryMatcher.h"
#include "core/groups/GroupFile.h"

#include <QHash>
#include <QObject>

#include <array>

class GroupSet;

// One entry of one group.
struct EntryRef {
    int group = 0;
    qsizetype index = 0;
    bool operator==(const EntryRef &) const = default;
};

// Finds entries of all five groups by the filter's words: the current
// group's first, then the others in order, the better matches before the
// worse (see MatchRank), and in each rank the groups' own order.
//
// An entry is found by its hint, its file name and, for a desktop entry, its
// Name, GenericName and Keywords in the user's language. What each entry is
// found by is worked out once and kept until its group changes, so each key
// of the filter costs only the matching.
class EntrySearch : public QObject
{
    Q_OBJECT

public:
    // `localeKeys` are the desktop entries' translations to use, best first
    // (desktopLocaleKeys).
    EntrySearch(GroupSet &groups, QStringList localeKeys, QObject *parent = nullptr);

    // Reads the groups other than `current` that were never read or were
    // changed by another program since. Only reads: their files are never
    // written, and a model holding unsaved changes is left as it is.
    void readOtherGroups(int current);

    QList<EntryRef> find(const QString &filter, int current);

    // The user's languages for desktop entries, from LANGUAGE, LC_ALL,
    // LC_MESSAGES and LANG as gettext reads them.
    static QStringList userLocaleKeys();

private:
    using EntryTexts = QList<SearchText>;
    const QList<EntryTexts> &textsOf(int group);

    GroupSet &m_groups;
    QStringList m_localeKeys;
    std::array<QList<EntryTexts>, kGroupCount> m_texts;
    std::array<bool, kGroupCount> m_stale{};
    // Texts by entry line, kept from the last build of each group so that a
    // change to one entry does not read every desktop file again.
    std::array<QHash<QString, EntryTexts>, kGroupCount> m_byLine;
};
