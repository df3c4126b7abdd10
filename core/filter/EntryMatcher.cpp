// SPDX-License-Identifier: MIT
#include "core/filter/EntryMatcher.h"

#include <algorithm>

namespace {

constexpr char16_t kKatakanaFirst = 0x30A1; // ァ
constexpr char16_t kKatakanaLast = 0x30F6;  // ヶ
constexpr char16_t kKanaShift = 0x60;       // ァ - ぁ

bool isKana(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= 0x3041 && u <= 0x309F) || (u >= 0x30A0 && u <= 0x30FF);
}

bool isWordChar(QChar c)
{
    return c.isLetterOrNumber() || c.isMark();
}

} // namespace

QString foldForSearch(const QString &text)
{
    QString folded = text.normalized(QString::NormalizationForm_KC).toCaseFolded();
    for (QChar &c : folded) {
        if (c.unicode() >= kKatakanaFirst && c.unicode() <= kKatakanaLast)
            c = QChar(char16_t(c.unicode() - kKanaShift));
    }
    return folded;
}

SearchText prepareSearchText(const QString &text)
{
    // Word starts are found before case folding, which loses the capitals
    // of "LibreOffice"; where folding changed the length (a rare special
    // case), they are found in the folded text instead.
    const QString normal = text.normalized(QString::NormalizationForm_KC);
    SearchText prepared;
    prepared.folded = foldForSearch(normal);
    const QString &source = prepared.folded.size() == normal.size() ? normal : prepared.folded;
    for (qsizetype i = 0; i < source.size(); ++i) {
        const QChar c = source[i];
        if (!isWordChar(c))
            continue;
        const QChar before = i > 0 ? source[i - 1] : QChar();
        if (i == 0 || !isWordChar(before) || (c.isUpper() && before.isLower()) || isKana(c) != isKana(before))
            prepared.wordStarts.append(i);
    }
    return prepared;
}

QStringList filterWords(const QString &filter)
{
    return foldForSearch(filter).simplified().split(u' ', Qt::SkipEmptyParts);
}

MatchRank matchWord(const SearchText &text, const QString &word)
{
    if (word.isEmpty())
        return MatchRank::None;
    const QString &hay = text.folded;
    qsizetype at = hay.indexOf(word);
    if (at >= 0) {
        for (; at >= 0; at = hay.indexOf(word, at + 1)) {
            if (std::binary_search(text.wordStarts.cbegin(), text.wordStarts.cend(), at))
                return MatchRank::WordStart;
        }
        return MatchRank::InsideWord;
    }
    qsizetype next = 0;
    for (const QChar c : word) {
        next = hay.indexOf(c, next);
        if (next < 0)
            return MatchRank::None;
        ++next;
    }
    return MatchRank::InOrder;
}

MatchRank matchEntry(const QList<SearchText> &texts, const QStringList &words)
{
    if (words.isEmpty())
        return MatchRank::None;
    MatchRank worst = MatchRank::WordStart;
    for (const QString &word : words) {
        MatchRank best = MatchRank::None;
        for (const SearchText &text : texts) {
            best = std::min(best, matchWord(text, word));
            if (best == MatchRank::WordStart)
                break;
        }
        if (best == MatchRank::None)
            return MatchRank::None;
        worst = std::max(worst, best);
    }
    return worst;
}
