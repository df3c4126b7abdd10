// SPDX-License-Identifier: MIT
#include "launcher/GroupFile.h"

#include "platform/AtomicFile.h"
#include "platform/LocaleCodec.h"
#include "platform/RegularFile.h"

#include <QStringDecoder>

namespace {

// Far beyond any real group: a larger file is read only in part, so it
// cannot eat the memory or hold up the start, and is never overwritten.
constexpr qint64 kMaxGroupFileSize = 16 * 1024 * 1024;

const QByteArray kUtf8Bom("\xEF\xBB\xBF", 3);
const QByteArray kUtf16LeBom("\xFF\xFE", 2);
const QByteArray kUtf16BeBom("\xFE\xFF", 2);

QString decodeWith(QStringConverter::Encoding encoding, QByteArrayView bytes)
{
    // The mark is already skipped: a second one is the first line's text.
    QStringDecoder decoder(encoding, QStringConverter::Flag::Stateless | QStringConverter::Flag::ConvertInitialBom);
    return decoder.decode(bytes);
}

bool startsWithMark(const QByteArray &bytes)
{
    return bytes.startsWith(kUtf8Bom) || bytes.startsWith(kUtf16LeBom) || bytes.startsWith(kUtf16BeBom);
}

} // namespace

QString groupFileName(int group)
{
    if (group <= 0)
        return QStringLiteral("QuillbrookPath.txt");
    return QStringLiteral("QuillbrookPath%1.txt").arg(group);
}

QString decodeGroupText(const QByteArray &bytes)
{
    if (bytes.startsWith(kUtf8Bom))
        return decodeWith(QStringConverter::Utf8, QByteArrayView(bytes).sliced(3));
    if (bytes.startsWith(kUtf16LeBom))
        return decodeWith(QStringConverter::Utf16LE, QByteArrayView(bytes).sliced(2));
    if (bytes.startsWith(kUtf16BeBom))
        return decodeWith(QStringConverter::Utf16BE, QByteArrayView(bytes).sliced(2));
    return LocaleCodec::decode(bytes);
}

QStringList splitTextLines(QStringView text, qsizetype maxLines)
{
    QStringList lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size() && lines.size() < maxLines; ++i) {
        const QChar ch = text[i];
        if (ch != u'\r' && ch != u'\n')
            continue;
        lines.append(text.mid(start, i - start).toString());
        if (ch == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
            ++i;
        start = i + 1;
    }
    if (start < text.size() && lines.size() < maxLines)
        lines.append(text.mid(start).toString());
    return lines;
}

GroupFileContent readGroupFile(const QString &path)
{
    GroupFileContent content;
    const RegularFileRead file = readRegularFile(path, kMaxGroupFileSize);
    switch (file.status) {
    case RegularFileRead::Missing:
        return content;
    case RegularFileRead::Unreadable:
        // A dangling link, a FIFO or a file we may not read is still the
        // user's: nothing may write over it.
        content.status = GroupFileContent::Unreadable;
        return content;
    case RegularFileRead::Partial:
    case RegularFileRead::Read:
        break;
    }

    bool whole = file.status == RegularFileRead::Read;
    content.lines = splitTextLines(decodeGroupText(file.bytes), kMaxGroupLines + 1);
    if (content.lines.size() > kMaxGroupLines) {
        content.lines.resize(kMaxGroupLines);
        whole = false;
    } else if (!whole && !content.lines.isEmpty()) {
        // Reading stopped somewhere in the last line.
        content.lines.removeLast();
    }
    // What was shown of a file too large to read whole is not all it holds.
    content.status = whole ? GroupFileContent::Read : GroupFileContent::Unreadable;
    return content;
}

QByteArray encodeGroupFile(const QStringList &lines)
{
    QString text;
    for (const QString &line : lines) {
        text += line;
        text += QStringLiteral("\r\n");
    }
    // Bytes that begin like a byte-order mark would be read back as one.
    const std::optional<QByteArray> encoded = LocaleCodec::encode(text);
    if (encoded && !startsWithMark(*encoded))
        return *encoded;
    // Replacing the character would break the path it belongs to; UTF-8 with
    // a byte-order mark keeps it and is read back as such.
    QStringEncoder encoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless | QStringConverter::Flag::ConvertInitialBom);
    return kUtf8Bom + QByteArray(encoder.encode(text));
}

bool writeGroupFile(const QString &path, const QStringList &lines, QString *errorText)
{
    return writeFileAtomically(path, encodeGroupFile(lines), errorText);
}
