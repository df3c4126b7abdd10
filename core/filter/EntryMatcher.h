// SPDX-License-Identifier: MIT
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// How well a word of the filter matches a text; lower is better.
enum class MatchRank {
    WordStart = 0, // the word stands at the start of one of the text's words
    InsideWord,    // the word stands somewhere inside the text
    InOrder,       // the word's letters stand in the text in order, with gaps
    None,
};

// A text prepared once for matching: folded as the filter's words are
// (see foldForSearch), with the places where a word of the text begins.
struct SearchText {
    QString folded;
    QList<qsizetype> wordStarts; // ascending
};

// Folds a text so that what a Japanese or English user thinks of as the same
// letters compare equal: NFKC (full-width Latin and half-width katakana
// become their ordinary forms), case folding, and katakana as hiragana.
QString foldForSearch(const QString &text);

// Folds `text` and notes where its words begin: after anything that is not
// a letter or digit, where a lower-case letter is followed by an upper-case
// one ("LibreOffice"), and where the script changes between kana and other
// letters.
SearchText prepareSearchText(const QString &text);

// The filter's words: folded, split at white space.
QStringList filterWords(const QString &filter);

// How well one folded word matches one prepared text.
MatchRank matchWord(const SearchText &text, const QString &word);

// An entry matches when every word matches one of its texts; its rank is
// that of its worst-matched word, each word taking its best text. An empty
// word list matches nothing.
MatchRank matchEntry(const QList<SearchText> &texts, const QStringList &words);
