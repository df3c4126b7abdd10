// SPDX-License-Identifier: MIT
#include "launcher/GroupFile.h"

#include "platform/AtomicFile.h"
#include "platform/LocaleCodec.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

namespace {

// Far beyond any real group; a larger file is not ours and would only eat
// memory.
constexpr qint64 kMaxGroupFileSize = 64 * 1024 * 1024;

const QByteArray kUtf8Bom("\xEF\xBB\xBF", 3);
const QByteArray kUtf16LeBom("\xFF\xFE", 2);
const QByteArray kUtf16BeBom("\xFE\xFF", 2);

QString decodeWith(QStringConverter::Encoding encoding, QByteArrayView bytes)
{
    QStringDecoder decoder(encoding, QStringConverter::Flag::Stateless);
    return decoder.decode(bytes);
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

QStringList splitTextLines(QStringView text)
{
    QStringList lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar ch = text[i];
        if (ch != u'\r' && ch != u'\n')
            continue;
        lines.append(text.mid(start, i - start).toString());
        if (ch == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
            ++i;
        start = i + 1;
    }
    if (start < text.size())
        lines.append(text.mid(start).toString());
    return lines;
}

GroupFileContent readGroupFile(const QString &path)
{
    GroupFileContent content;
    const QFileInfo info(path);
    if (!info.exists()) {
        // A dangling link is still the user's: treat it as there but
        // unreadable, so a save does not write through it.
        content.status = info.isSymLink() ? GroupFileContent::Unreadable
                                          : GroupFileContent::Missing;
        return content;
    }
    content.status = GroupFileContent::Unreadable;
    // Only regular files: a directory cannot be read and opening a FIFO or a
    // device could block or never end.
    if (!info.isFile() || info.size() > kMaxGroupFileSize)
        return content;

    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return content;
    // The file may grow after the check, so the limit holds while reading.
    QByteArray bytes;
    for (;;) {
        const QByteArray chunk = file.read(64 * 1024);
        if (file.error() != QFileDevice::NoError)
            return content;
        if (chunk.isEmpty())
            break;
        bytes += chunk;
        if (bytes.size() > kMaxGroupFileSize)
            return content;
    }

    content.status = GroupFileContent::Read;
    content.lines = splitTextLines(decodeGroupText(bytes));
    return content;
}

QByteArray encodeGroupFile(const QStringList &lines)
{
    QString text;
    for (const QString &line : lines) {
        text += line;
        text += QStringLiteral("\r\n");
    }
    if (const std::optional<QByteArray> encoded = LocaleCodec::encode(text))
        return *encoded;
    // Replacing the character would break the path it belongs to; UTF-8 with
    // a byte-order mark keeps it and is read back as such.
    QStringEncoder encoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    return kUtf8Bom + QByteArray(encoder.encode(text));
}

bool writeGroupFile(const QString &path, const QStringList &lines, QString *errorText)
{
    return writeFileAtomically(path, encodeGroupFile(lines), errorText);
}
