// SPDX-License-Identifier: MIT
#include "core/groups/GroupFile.h"

#include "core/entries/EntryLine.h"
#include "core/files/AtomicFile.h"
#include "core/files/RegularFile.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

#include <algorithm>
#include <cerrno>
#include <sys/stat.h>

namespace {

// Far beyond any real group: a larger file is read only in part, so it
// cannot eat the memory or hold up the start, and is never overwritten.
constexpr qint64 kMaxGroupFileSize = 16 * 1024 * 1024;

const QByteArray kUtf8Bom("\xEF\xBB\xBF", 3);
const QByteArray kUtf16LeBom("\xFF\xFE", 2);
const QByteArray kUtf16BeBom("\xFE\xFF", 2);

QString decodeWith(QStringConverter::Encoding encoding, QByteArrayView bytes, LocaleCodec::Decoding *decoding)
{
    // The mark is already skipped: a second one is the first line's text.
    QStringDecoder decoder(encoding, QStringConverter::Flag::Stateless | QStringConverter::Flag::ConvertInitialBom);
    QString text = decoder.decode(bytes);
    // Qt replaces a UTF-16 file's odd last byte without calling it an error.
    const bool oddByte = encoding != QStringConverter::Utf8 && bytes.size() % 2 != 0;
    *decoding = decoder.hasError() || oddByte ? LocaleCodec::Decoding::Lossy : LocaleCodec::Decoding::Clean;
    return text;
}

bool startsWithMark(const QByteArray &bytes)
{
    return bytes.startsWith(kUtf8Bom) || bytes.startsWith(kUtf16LeBom) || bytes.startsWith(kUtf16BeBom);
}

std::optional<TRec> entryOf(const QString &line)
{
    return recFromFields(splitEntryLine(line));
}

// The first of `lines` that makes the entry `wanted`, or -1.
qsizetype indexOfEntry(const QStringList &lines, const TRec &wanted)
{
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (entryOf(lines[i]) == wanted)
            return i;
    }
    return -1;
}

qsizetype indexOfFile(const QStringList &lines, const QString &fname)
{
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const std::optional<TRec> entry = entryOf(lines[i]);
        if (entry && entry->fname == fname)
            return i;
    }
    return -1;
}

bool namesFileThere(const QString &line)
{
    const std::optional<TRec> rec = recFromFields(splitEntryLine(line));
    return rec && !rec->fname.isEmpty() && QFileInfo::exists(rec->fname);
}

// For bytes that read cleanly both in the locale's character set and as
// UTF-8: much UTF-8 Japanese is valid Shift_JIS too, as mojibake whose paths
// name nothing. Keeps in *lines the reading under which more entries name
// files that are there. False when each reading finds a file the other
// misses: no reading keeps every entry.
bool chooseReading(QStringList *lines, const QStringList &utf8Lines)
{
    qsizetype localeOnly = 0;
    qsizetype utf8Only = 0;
    const qsizetype count = std::max(lines->size(), utf8Lines.size());
    for (qsizetype i = 0; i < count; ++i) {
        const QString inLocale = lines->value(i);
        const QString inUtf8 = utf8Lines.value(i);
        if (inLocale == inUtf8)
            continue;
        const bool thereInLocale = namesFileThere(inLocale);
        const bool thereInUtf8 = namesFileThere(inUtf8);
        localeOnly += thereInLocale && !thereInUtf8;
        utf8Only += thereInUtf8 && !thereInLocale;
    }
    if (utf8Only > localeOnly)
        *lines = utf8Lines;
    return localeOnly == 0 || utf8Only == 0;
}

// The raw lines of bytes in an ASCII-compatible character set, split as
// splitTextLines() splits their text.
QList<QByteArray> splitByteLines(QByteArrayView bytes, qsizetype maxLines)
{
    QList<QByteArray> lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < bytes.size() && lines.size() < maxLines; ++i) {
        const char ch = bytes[i];
        if (ch != '\r' && ch != '\n')
            continue;
        lines.append(bytes.sliced(start, i - start).toByteArray());
        if (ch == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < bytes.size() && lines.size() < maxLines)
        lines.append(bytes.sliced(start).toByteArray());
    return lines;
}

// Some character sets give one character two codes, and a save writes only
// one of them: such a line's bytes are kept as read.
QList<QByteArray> bytesNotGivenBack(const QStringList &lines, QByteArrayView bytes)
{
    QList<QByteArray> kept;
    // UTF-8 text reads back as the very bytes it came from.
    if (LocaleCodec::isUtf8())
        return kept;
    const QList<QByteArray> raw = splitByteLines(bytes, lines.size());
    if (raw.size() != lines.size())
        return kept;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (LocaleCodec::encode(lines.at(i)) != raw.at(i)) {
            kept.resize(lines.size());
            kept[i] = raw.at(i);
        }
    }
    return kept;
}

// Why a file that is there could not be read; `error` is errno as the read
// left it.
void explainUnreadable(GroupFileContent *content, const QString &path, int error)
{
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0) {
        content->problem = GroupFileContent::SystemError;
        content->error = errno;
    } else if (S_ISDIR(info.st_mode)) {
        content->problem = GroupFileContent::SystemError;
        content->error = EISDIR;
    } else if (!S_ISREG(info.st_mode)) {
        content->problem = GroupFileContent::NotAFile;
    } else {
        content->problem = GroupFileContent::SystemError;
        content->error = error != 0 ? error : EIO;
    }
}

} // namespace

QString groupFileName(int group)
{
    if (group <= 0)
        return QStringLiteral("QuillbrookPath.txt");
    return QStringLiteral("QuillbrookPath%1.txt").arg(group);
}

QString decodeGroupText(const QByteArray &bytes, LocaleCodec::Decoding *decoding)
{
    LocaleCodec::Decoding found;
    QString text;
    if (bytes.startsWith(kUtf8Bom)) {
        text = decodeWith(QStringConverter::Utf8, QByteArrayView(bytes).sliced(3), &found);
    } else if (bytes.startsWith(kUtf16LeBom)) {
        text = decodeWith(QStringConverter::Utf16LE, QByteArrayView(bytes).sliced(2), &found);
    } else if (bytes.startsWith(kUtf16BeBom)) {
        text = decodeWith(QStringConverter::Utf16BE, QByteArrayView(bytes).sliced(2), &found);
    } else {
        LocaleCodec::DecodedText decoded = LocaleCodec::decodeChecked(bytes);
        text = std::move(decoded.text);
        found = decoded.decoding;
    }
    if (decoding)
        *decoding = found;
    return text;
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
    content.stamp = fileStamp(path);
    errno = 0;
    const RegularFileRead file = readRegularFile(path, kMaxGroupFileSize);
    const int readError = errno;
    switch (file.status) {
    case RegularFileRead::Missing:
        return content;
    case RegularFileRead::Unreadable:
        // A dangling link, a FIFO or a file we may not read is still the
        // user's: nothing may write over it.
        content.status = GroupFileContent::Unreadable;
        explainUnreadable(&content, path, readError);
        return content;
    case RegularFileRead::Partial:
    case RegularFileRead::Read:
        break;
    }

    bool whole = file.status == RegularFileRead::Read;
    LocaleCodec::Decoding decoding;
    content.lines = splitTextLines(decodeGroupText(file.bytes, &decoding), kMaxGroupLines + 1);
    // A line that could not be decoded names no file and would be dropped
    // at the next save although its file is there.
    bool clean = decoding != LocaleCodec::Decoding::Lossy;
    bool inLocale = decoding == LocaleCodec::Decoding::Clean && !startsWithMark(file.bytes);
    if (inLocale && !LocaleCodec::isUtf8()) {
        if (const std::optional<QString> utf8 = LocaleCodec::decodeUtf8(file.bytes)) {
            const QStringList localeLines = content.lines;
            clean = chooseReading(&content.lines, splitTextLines(*utf8, kMaxGroupLines + 1));
            inLocale = content.lines == localeLines;
        }
    }
    if (inLocale && clean)
        content.bytesAsRead = bytesNotGivenBack(content.lines, file.bytes);
    if (content.lines.size() > kMaxGroupLines) {
        content.lines.resize(kMaxGroupLines);
        whole = false;
    } else if (!whole && !content.lines.isEmpty()) {
        // Reading stopped somewhere in the last line.
        content.lines.removeLast();
    }
    if (!content.bytesAsRead.isEmpty())
        content.bytesAsRead.resize(content.lines.size());
    // What was shown of a file too large to read whole, or read with loss,
    // is not all it holds.
    content.status = whole && clean ? GroupFileContent::Read : GroupFileContent::Unreadable;
    if (!whole)
        content.problem = GroupFileContent::TooLarge;
    else if (!clean)
        content.problem = GroupFileContent::Undecodable;
    return content;
}

std::optional<QStringList> applyGroupEdit(QStringList lines, const GroupEdit &edit)
{
    switch (edit.kind) {
    case GroupEdit::Keep:
        return lines;
    case GroupEdit::Append:
        lines.append(edit.added);
        return lines;
    case GroupEdit::Insert: {
        const std::optional<TRec> entry = entryOf(edit.line);
        qsizetype at = entry ? indexOfEntry(lines, *entry) : -1;
        if (at < 0)
            at = lines.size();
        for (const QString &line : edit.added)
            lines.insert(at++, line);
        return lines;
    }
    case GroupEdit::Remove: {
        const std::optional<TRec> entry = entryOf(edit.line);
        const qsizetype i = entry ? indexOfEntry(lines, *entry) : -1;
        // Gone already: the other change removed it too.
        if (i >= 0)
            lines.removeAt(i);
        return lines;
    }
    case GroupEdit::Replace: {
        const std::optional<TRec> entry = entryOf(edit.line);
        if (!entry)
            return std::nullopt;
        qsizetype i = indexOfEntry(lines, *entry);
        if (i < 0)
            i = indexOfFile(lines, entry->fname);
        if (i < 0)
            return std::nullopt;
        lines[i] = edit.newLine;
        return lines;
    }
    case GroupEdit::Move: {
        const std::optional<TRec> moved = entryOf(edit.line);
        const std::optional<TRec> anchor = entryOf(edit.anchor);
        if (!moved || !anchor)
            return std::nullopt;
        const qsizetype from = indexOfEntry(lines, *moved);
        if (from < 0)
            return std::nullopt;
        const QString line = lines.takeAt(from);
        // Looked for without the moved line: it may be a copy of its anchor.
        const qsizetype at = indexOfEntry(lines, *anchor);
        if (at < 0)
            return std::nullopt;
        lines.insert(edit.after ? at + 1 : at, line);
        return lines;
    }
    case GroupEdit::Reorder:
        break;
    }
    return std::nullopt;
}

QByteArray encodeGroupFile(const QStringList &lines, const QList<QByteArray> &bytesAsRead)
{
    const bool anyAsRead = std::any_of(bytesAsRead.cbegin(), bytesAsRead.cend(),
                                       [](const QByteArray &bytes) { return !bytes.isEmpty(); });
    if (anyAsRead) {
        // Line by line: the character sets a locale can have carry no state
        // from one line to the next.
        QByteArray out;
        bool inLocale = true;
        for (qsizetype i = 0; i < lines.size() && inLocale; ++i) {
            const QByteArray asRead = bytesAsRead.value(i);
            const std::optional<QByteArray> encoded = asRead.isEmpty() ? LocaleCodec::encode(lines.at(i)) : asRead;
            inLocale = encoded.has_value();
            if (encoded)
                out += *encoded + "\r\n";
        }
        if (inLocale && !startsWithMark(out))
            return out;
    }
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
    QStringEncoder encoder(QStringConverter::Utf8,
                           QStringConverter::Flag::Stateless | QStringConverter::Flag::ConvertInitialBom);
    return kUtf8Bom + QByteArray(encoder.encode(text));
}

bool writeGroupFile(const QString &path, const QStringList &lines, QString *error, const QList<QByteArray> &bytesAsRead)
{
    return writeFileAtomically(path, encodeGroupFile(lines, bytesAsRead), error);
}
