// SPDX-License-Identifier: MIT
// Group list files: any bytes read in any locale character set without harm,
// and what was read, written back, reads the same.
#include "FuzzCheck.h"

#include "core/entries/EntryLine.h"
#include "core/groups/GroupFile.h"
#include "core/files/LocaleCodec.h"

#include <QFile>
#include <QTemporaryDir>

namespace {

bool isText(const QString &text)
{
    return QStringView(text).isValidUtf16();
}

void checkLocaleRoundTrip(const QString &text)
{
    if (!isText(text))
        return;
    // What the character set holds must come back as it was: a path that
    // changes on its way to the file no longer exists.
    if (const std::optional<QByteArray> bytes = LocaleCodec::encode(text))
        FUZZ_CHECK(LocaleCodec::decode(*bytes) == text);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    LocaleCodec::setCharsetForTesting(fuzz::charsetFor(data[0]));
    const QByteArray bytes = fuzz::bytesOf(data + 1, size - 1);

    LocaleCodec::Decoding decoding;
    const QString text = decodeGroupText(bytes, &decoding);
    const QStringList lines = splitTextLines(text);
    for (const QString &line : lines)
        FUZZ_CHECK(!line.contains(u'\r') && !line.contains(u'\n'));
    checkLocaleRoundTrip(text);

    // The same through a real file.
    static QTemporaryDir dir;
    const QString path = dir.filePath(groupFileName(0));
    {
        QFile file(path);
        FUZZ_CHECK(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        FUZZ_CHECK(file.write(bytes) == bytes.size());
    }
    const GroupFileContent content = readGroupFile(path);
    // Text that did not decode is never written over.
    FUZZ_CHECK(content.status
               == (decoding == LocaleCodec::Decoding::Lossy ? GroupFileContent::Unreadable : GroupFileContent::Read));
    // Bytes that read both ways are read as UTF-8 where that finds more of
    // the entries' files.
    const std::optional<QString> utf8 = LocaleCodec::decodeUtf8(bytes);
    FUZZ_CHECK(content.lines == lines || (utf8 && content.lines == splitTextLines(*utf8)));

    // Every entry the file makes survives a save and a load.
    QStringList rebuilt;
    QList<TRec> entries;
    for (const QString &line : lines) {
        const std::optional<TRec> rec = recFromFields(splitEntryLine(line));
        if (!rec || !isText(rec->fname) || !isText(rec->param) || !isText(rec->hint))
            continue;
        entries.append(*rec);
        rebuilt.append(joinEntryLine(*rec));
    }
    const QStringList reread = splitTextLines(decodeGroupText(encodeGroupFile(rebuilt)));
    FUZZ_CHECK(reread == rebuilt);
    for (qsizetype i = 0; i < entries.size(); ++i)
        FUZZ_CHECK(recFromFields(splitEntryLine(reread.at(i))) == entries.at(i));

    // Lines typed or dropped by the user, as UTF-16 text, survive a save in
    // this character set too.
    const QString typed = fuzz::utf16Of(data + 1, size - 1);
    checkLocaleRoundTrip(typed);
    if (isText(typed)) {
        const QStringList typedLines = splitTextLines(typed);
        FUZZ_CHECK(splitTextLines(decodeGroupText(encodeGroupFile(typedLines))) == typedLines);
    }
    return 0;
}
