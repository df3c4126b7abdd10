// SPDX-License-Identifier: MIT
// The entry-line rule and what the click makes of a line: any text splits
// without harm, and any entry joins into a line that splits back into it.
#include "FuzzCheck.h"

#include "core/entries/EntryLine.h"
#include "core/entries/LaunchRequest.h"
#include "core/entries/ParameterWords.h"
#include "core/entries/PathRules.h"

#include <QStringList>

namespace {

bool hasLineBreak(const QString &text)
{
    return text.contains(u'\r') || text.contains(u'\n');
}

void checkSplit(const QString &line)
{
    const QStringList fields = splitEntryLine(line);
    FUZZ_CHECK(fields.isEmpty() == line.isEmpty());
    qsizetype length = 0;
    for (const QString &field : fields)
        length += field.size();
    FUZZ_CHECK(length <= line.size());
    // Without quotes the fields are exactly the text between the commas.
    if (!line.contains(u'"'))
        FUZZ_CHECK(fields.join(u',') == line);

    const std::optional<LaunchRequest> request = launchRequestFor(line);
    FUZZ_CHECK(request.has_value() == (!fields.isEmpty() && fields.size() <= 3));
    if (request) {
        const QString dir = workingDirectoryOf(request->file);
        FUZZ_CHECK(dir == u"/" || request->file.startsWith(dir));
        FUZZ_CHECK(fileNamePart(request->file).startsWith(ExtractFileTitle(request->file)));
        // Any parameters split into words, never longer than the text.
        qsizetype wordsLength = 0;
        for (const QString &word : splitParameterWords(request->params))
            wordsLength += word.size();
        FUZZ_CHECK(wordsLength <= request->params.size());
    }
}

// Three strings cut from the input at its line breaks.
TRec entryFrom(const QString &text)
{
    QStringList parts;
    QString current;
    for (const QChar c : text) {
        if (c == u'\r' || c == u'\n') {
            parts.append(current);
            current.clear();
        } else {
            current += c;
        }
    }
    parts.append(current);
    while (parts.size() < 3)
        parts.append(QString());
    return TRec{parts.at(0), parts.at(1), parts.at(2)};
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = fuzz::utf16Of(data, size);
    checkSplit(text);

    const TRec rec = entryFrom(text);
    const QString line = joinEntryLine(rec);
    FUZZ_CHECK(!hasLineBreak(line));
    const std::optional<TRec> back = recFromFields(splitEntryLine(line));
    FUZZ_CHECK(back.has_value());
    FUZZ_CHECK(*back == rec);
    launchHint(rec);
    return 0;
}
