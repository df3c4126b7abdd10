// SPDX-License-Identifier: MIT
#include "core/entries/ParameterWords.h"

namespace {

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r';
}

// Where the quote opened at `open` closes, or -1 when it never does.
qsizetype closingQuote(QStringView text, qsizetype open)
{
    const QChar quote = text[open];
    for (qsizetype i = open + 1; i < text.size(); ++i) {
        if (quote == u'"' && text[i] == u'\\' && i + 1 < text.size()) {
            ++i;
            continue;
        }
        if (text[i] == quote)
            return i;
    }
    return -1;
}

bool escapableInDoubleQuotes(QChar c)
{
    return c == u'"' || c == u'\\' || c == u'$' || c == u'`';
}

} // namespace

QStringList splitParameterWords(QStringView params)
{
    QStringList words;
    QString word;
    bool inWord = false; // "" is a word of its own, empty
    const qsizetype n = params.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = params[i];
        if (isBlank(c)) {
            if (inWord)
                words.append(std::exchange(word, QString()));
            inWord = false;
            continue;
        }
        inWord = true;
        if (c == u'\\') {
            // A lone backslash at the end stays what it is.
            word.append(i + 1 < n ? params[++i] : c);
            continue;
        }
        if (c != u'"' && c != u'\'') {
            word.append(c);
            continue;
        }
        const qsizetype close = closingQuote(params, i);
        if (close < 0) {
            word.append(c);
            continue;
        }
        for (qsizetype j = i + 1; j < close; ++j) {
            if (c == u'"' && params[j] == u'\\' && escapableInDoubleQuotes(params[j + 1]))
                ++j;
            word.append(params[j]);
        }
        i = close;
    }
    if (inWord)
        words.append(word);
    return words;
}
