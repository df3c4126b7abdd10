// SPDX-License-Identifier: MIT
#include "core/filter/EntrySearch.h"

#include "core/entries/DesktopEntry.h"
#include "core/entries/PathRules.h"
#include "core/files/RegularFile.h"
#include "core/groups/GroupSet.h"

#include <algorithm>

namespace {

// Desktop entries are a few kilobytes; anything far larger is not one.
constexpr qint64 kMaxDesktopFile = 256 * 1024;

QList<SearchText> textsOfEntry(const TRec &entry, const QStringList &localeKeys)
{
    QList<SearchText> texts;
    const auto add = [&texts](const QString &text) {
        if (!text.isEmpty())
            texts.append(prepareSearchText(text));
    };
    add(entry.hint);
    add(fileNamePart(entry.fname));
    if (entry.fname.endsWith(QLatin1String(".desktop"))) {
        const RegularFileRead read = readRegularFile(entry.fname, kMaxDesktopFile);
        if (read.status == RegularFileRead::Read) {
            const DesktopEntryNames names = desktopEntryNames(read.bytes, localeKeys);
            add(names.name);
            add(names.genericName);
            for (const QString &keyword : names.keywords)
                add(keyword);
        }
    }
    return texts;
}

} // namespace

EntrySearch::EntrySearch(GroupSet &groups, QStringList localeKeys, QObject *parent)
    : QObject(parent)
    , m_groups(groups)
    , m_localeKeys(std::move(localeKeys))
{
    m_stale.fill(true);
    connect(&m_groups, &GroupSet::changed, this, [this](int group) { m_stale[group] = true; });
}

void EntrySearch::readOtherGroups(int current)
{
    for (int group = 0; group < kGroupCount; ++group) {
        if (group != current)
            m_groups.readIfChanged(group);
    }
}

const QList<EntrySearch::EntryTexts> &EntrySearch::textsOf(int group)
{
    if (!m_stale[group])
        return m_texts[group];
    const GroupModel &model = m_groups.group(group);
    QHash<QString, EntryTexts> byLine;
    QList<EntryTexts> texts;
    texts.reserve(model.size());
    for (qsizetype i = 0; i < model.size(); ++i) {
        const QString line = model.line(i);
        auto known = m_byLine[group].constFind(line);
        EntryTexts entry = known != m_byLine[group].cend() ? *known : textsOfEntry(model.entry(i), m_localeKeys);
        byLine.insert(line, entry);
        texts.append(std::move(entry));
    }
    m_byLine[group] = std::move(byLine);
    m_texts[group] = std::move(texts);
    m_stale[group] = false;
    return m_texts[group];
}

QList<EntryRef> EntrySearch::find(const QString &filter, int current)
{
    const QStringList words = filterWords(filter);
    if (words.isEmpty())
        return {};
    struct Found {
        MatchRank rank;
        EntryRef entry;
    };
    QList<Found> found;
    for (int k = 0; k < kGroupCount; ++k) {
        // The current group first, then the others in their own order.
        const int group = k == 0 ? current : (k <= current ? k - 1 : k);
        const QList<EntryTexts> &texts = textsOf(group);
        for (qsizetype i = 0; i < texts.size(); ++i) {
            const MatchRank rank = matchEntry(texts.at(i), words);
            if (rank != MatchRank::None)
                found.append({rank, {group, i}});
        }
    }
    std::stable_sort(found.begin(), found.end(), [](const Found &a, const Found &b) { return a.rank < b.rank; });
    QList<EntryRef> entries;
    entries.reserve(found.size());
    for (const Found &f : std::as_const(found))
        entries.append(f.entry);
    return entries;
}

QStringList EntrySearch::userLocaleKeys()
{
    // gettext's order: LC_ALL, LC_MESSAGES, LANG pick the locale; LANGUAGE,
    // a list, goes first unless that locale is C.
    QString locale;
    for (const char *name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        locale = qEnvironmentVariable(name);
        if (!locale.isEmpty())
            break;
    }
    QStringList names;
    const bool cLocale = locale.isEmpty() || locale == u"C" || locale.startsWith(u"C.") || locale == u"POSIX";
    if (!cLocale)
        names = qEnvironmentVariable("LANGUAGE").split(u':', Qt::SkipEmptyParts);
    names.append(locale);
    return desktopLocaleKeys(names);
}
