// SPDX-License-Identifier: MIT
#include "core/settings/IniFile.h"

#include "core/files/AtomicFile.h"
#include "core/files/LocaleCodec.h"
#include "core/files/RegularFile.h"

#include <QCoreApplication>
#include <QStringDecoder>
#include <QStringEncoder>

#include <algorithm>
#include <limits>

namespace {

constexpr qsizetype kMaxValueLength = 2047;
constexpr char kUtf8Bom[] = "\xEF\xBB\xBF";
constexpr char kUtf16Bom[] = "\xFF\xFE";

using Encoding = IniFile::Encoding;

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t';
}

QStringView trimBlanks(QStringView text)
{
    while (!text.isEmpty() && isBlank(text.front()))
        text = text.sliced(1);
    while (!text.isEmpty() && isBlank(text.back()))
        text.chop(1);
    return text;
}

struct ParsedLine {
    enum Kind { Other, Section, Key } kind = Other;
    QStringView name;
    QStringView value;
};

ParsedLine parseLine(QStringView text)
{
    const QStringView line = trimBlanks(text);
    if (line.startsWith(u'[')) {
        const qsizetype close = line.indexOf(u']');
        if (close < 0)
            return {};
        return {ParsedLine::Section, trimBlanks(line.sliced(1, close - 1)), {}};
    }
    if (line.startsWith(u';') || line.startsWith(u'#'))
        return {};
    const qsizetype equals = line.indexOf(u'=');
    if (equals < 0)
        return {};
    const QStringView name = trimBlanks(line.first(equals));
    if (name.isEmpty())
        return {};
    return {ParsedLine::Key, name, trimBlanks(line.sliced(equals + 1))};
}

QString valueAsRead(QStringView value)
{
    if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') && value.back() == value.front())
        value = value.sliced(1, value.size() - 2);
    if (value.size() > kMaxValueLength) {
        value = value.first(kMaxValueLength);
        // Half a surrogate pair would be a character of its own.
        if (value.back().isHighSurrogate())
            value.chop(1);
    }
    return value.toString();
}

bool namesMatch(QStringView a, QStringView b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

QByteArray toUtf16LE(QStringView text)
{
    QByteArray bytes;
    bytes.reserve(text.size() * 2);
    for (const QChar c : text) {
        bytes.append(char(c.unicode() & 0xFF));
        bytes.append(char(c.unicode() >> 8));
    }
    return bytes;
}

// Lossless, lone surrogates included, unlike a QStringDecoder.
QString fromUtf16LE(QByteArrayView bytes)
{
    QString text(bytes.size() / 2, Qt::Uninitialized);
    for (qsizetype i = 0; i < text.size(); ++i)
        text[i] = QChar(char16_t(uchar(bytes[2 * i]) | uchar(bytes[2 * i + 1]) << 8));
    return text;
}

// Sets *lossy when some bytes could not be decoded and became U+FFFD.
QString decodeAs(Encoding encoding, QByteArrayView bytes, bool *lossy)
{
    *lossy = false;
    switch (encoding) {
    case Encoding::Utf16LE:
        return fromUtf16LE(bytes);
    case Encoding::Utf8Bom: {
        // The file's mark is skipped already; one at a line's start is text.
        QStringDecoder decoder(QStringConverter::Utf8,
                               QStringConverter::Flag::Stateless | QStringConverter::Flag::ConvertInitialBom);
        QString text = decoder.decode(bytes);
        *lossy = decoder.hasError();
        return text;
    }
    case Encoding::Locale:
        break;
    }
    LocaleCodec::DecodedText decoded = LocaleCodec::decodeChecked(bytes.toByteArray());
    *lossy = decoded.decoding == LocaleCodec::Decoding::Lossy;
    return std::move(decoded.text);
}

std::optional<QByteArray> encodeAs(Encoding encoding, QStringView text)
{
    switch (encoding) {
    case Encoding::Utf16LE:
        return toUtf16LE(text);
    case Encoding::Utf8Bom: {
        QStringEncoder encoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
        QByteArray bytes = encoder.encode(text);
        if (encoder.hasError())
            return std::nullopt;
        return bytes;
    }
    case Encoding::Locale:
        break;
    }
    return LocaleCodec::encode(text);
}

// Line breaks are ASCII in every character set we read as bytes.
QByteArray encodeBreak(Encoding encoding, QStringView lineBreak)
{
    return encoding == Encoding::Utf16LE ? toUtf16LE(lineBreak) : lineBreak.toLatin1();
}

QString decodeBreak(Encoding encoding, const QByteArray &bytes)
{
    return encoding == Encoding::Utf16LE ? fromUtf16LE(bytes) : QString::fromLatin1(bytes);
}

QByteArray bomOf(Encoding encoding)
{
    switch (encoding) {
    case Encoding::Utf16LE:
        return kUtf16Bom;
    case Encoding::Utf8Bom:
        return kUtf8Bom;
    case Encoding::Locale:
        break;
    }
    return {};
}

} // namespace

IniFile IniFile::fromBytes(const QByteArray &bytes)
{
    return fromBytes(bytes, std::numeric_limits<qsizetype>::max());
}

IniFile IniFile::fromBytes(const QByteArray &bytes, qsizetype maxLines)
{
    IniFile ini;
    QByteArrayView body = bytes;
    if (body.startsWith(kUtf16Bom))
        ini.m_encoding = Encoding::Utf16LE;
    else if (body.startsWith(kUtf8Bom))
        ini.m_encoding = Encoding::Utf8Bom;
    body = body.sliced(bomOf(ini.m_encoding).size());

    // Breaks are sought one code unit at a time (two bytes in UTF-16LE), so
    // a byte of a character is never taken for one.
    const qsizetype unit = ini.m_encoding == Encoding::Utf16LE ? 2 : 1;
    const qsizetype end = body.size() - body.size() % unit;
    ini.m_tail = body.sliced(end).toByteArray();
    const auto unitAt = [&](qsizetype i) -> char16_t {
        return unit == 1 ? char16_t(uchar(body[i])) : char16_t(uchar(body[i]) | uchar(body[i + 1]) << 8);
    };

    // False, and the file is kept as it is, once there are too many lines.
    const auto addLine = [&](qsizetype start, qsizetype textEnd, qsizetype lineEnd) {
        if (ini.m_lines.size() == maxLines) {
            ini.m_tail.clear();
            ini.m_keepFile = true;
            return false;
        }
        bool lossy = false;
        QString text = decodeAs(ini.m_encoding, body.sliced(start, textEnd - start), &lossy);
        ini.m_lines.append({body.sliced(start, lineEnd - start).toByteArray(), std::move(text),
                            body.sliced(textEnd, lineEnd - textEnd).toByteArray(), lossy});
        return true;
    };

    qsizetype start = 0;
    qsizetype i = 0;
    while (i < end) {
        const char16_t c = unitAt(i);
        if (c != u'\r' && c != u'\n') {
            i += unit;
            continue;
        }
        qsizetype next = i + unit;
        if (c == u'\r' && next < end && unitAt(next) == u'\n')
            next += unit;
        if (!addLine(start, i, next))
            return ini;
        start = i = next;
    }
    if (start < end)
        addLine(start, end, end);
    return ini;
}

IniFile IniFile::load(const QString &path)
{
    const RegularFileRead file = readRegularFile(path, kMaxFileSize);
    IniFile ini;
    switch (file.status) {
    case RegularFileRead::Missing:
        return ini;
    case RegularFileRead::Unreadable:
        ini.m_keepFile = true;
        return ini;
    case RegularFileRead::Partial:
        ini = fromBytes(file.bytes, kMaxLines);
        // Reading stopped somewhere in the last line.
        if (!ini.m_keepFile && !ini.m_lines.isEmpty())
            ini.m_lines.removeLast();
        ini.m_tail.clear();
        ini.m_keepFile = true;
        return ini;
    case RegularFileRead::Read:
        break;
    }
    return fromBytes(file.bytes, kMaxLines);
}

bool IniFile::isSectionLine(qsizetype index) const
{
    return parseLine(m_lines[index].text).kind == ParsedLine::Section;
}

qsizetype IniFile::findSection(QStringView section) const
{
    for (qsizetype i = 0; i < m_lines.size(); ++i) {
        const ParsedLine parsed = parseLine(m_lines[i].text);
        if (parsed.kind == ParsedLine::Section && namesMatch(parsed.name, section))
            return i;
    }
    return -1;
}

qsizetype IniFile::findKey(qsizetype sectionLine, QStringView key) const
{
    for (qsizetype i = sectionLine + 1; i < m_lines.size(); ++i) {
        const ParsedLine parsed = parseLine(m_lines[i].text);
        if (parsed.kind == ParsedLine::Section)
            break;
        if (parsed.kind == ParsedLine::Key && namesMatch(parsed.name, key))
            return i;
    }
    return -1;
}

std::optional<QString> IniFile::value(QStringView section, QStringView key) const
{
    const qsizetype sectionLine = findSection(section);
    if (sectionLine < 0)
        return std::nullopt;
    const qsizetype keyLine = findKey(sectionLine, key);
    if (keyLine < 0 || m_lines[keyLine].lossy)
        return std::nullopt;
    return valueAsRead(parseLine(m_lines[keyLine].text).value);
}

QByteArray IniFile::encodedEol() const
{
    return encodeBreak(m_encoding, u"\r\n");
}

std::optional<IniFile::Line> IniFile::makeLine(const QString &text, const QByteArray &eol)
{
    const QString lineBreak = decodeBreak(m_encoding, eol);
    std::optional<QByteArray> body = encodeAs(m_encoding, text);
    if (!body) {
        // Replacing the character would change the user's text; UTF-16LE
        // holds every character and is a form the file may have anyway. A
        // line we could not decode has no UTF-16LE form: it would be lost.
        if (std::any_of(m_lines.cbegin(), m_lines.cend(), [](const Line &line) { return line.lossy; }))
            return std::nullopt;
        convertToUtf16LE();
        body = encodeAs(m_encoding, text);
    }
    const QByteArray encodedBreak = encodeBreak(m_encoding, lineBreak);
    return Line{*body + encodedBreak, text, encodedBreak};
}

void IniFile::endLine(qsizetype index)
{
    Line &line = m_lines[index];
    if (!line.eol.isEmpty())
        return;
    line.eol = encodedEol();
    line.raw += line.eol;
}

void IniFile::convertToUtf16LE()
{
    for (Line &line : m_lines) {
        const QByteArray eol = encodeBreak(Encoding::Utf16LE, decodeBreak(m_encoding, line.eol));
        line.raw = toUtf16LE(line.text) + eol;
        line.eol = eol;
    }
    m_encoding = Encoding::Utf16LE;
}

void IniFile::setValue(const QString &section, const QString &key, const QString &value)
{
    // A line break inside the value would turn its rest into lines of their
    // own, which the next read could take for keys or sections.
    QString clean = value;
    clean.replace(u'\r', u' ').replace(u'\n', u' ');

    const qsizetype sectionLine = findSection(section);
    if (sectionLine < 0) {
        // Making a line may re-encode the lines held: a header made before
        // that is made again in the file's new form.
        const Encoding before = m_encoding;
        std::optional<Line> header = makeLine(u'[' + section + u']', encodedEol());
        if (!header)
            return;
        std::optional<Line> keyLine = makeLine(key + u'=' + clean, encodedEol());
        if (!keyLine)
            return;
        if (m_encoding != before)
            header = makeLine(u'[' + section + u']', encodedEol());
        if (!m_lines.isEmpty())
            endLine(m_lines.size() - 1);
        m_lines.append(std::move(*header));
        m_lines.append(std::move(*keyLine));
        return;
    }

    const qsizetype keyLine = findKey(sectionLine, key);
    if (keyLine >= 0) {
        // What we could not decode is not what the file holds: writing it
        // back, or over it, would destroy a value we never saw.
        if (m_lines[keyLine].lossy)
            return;
        const ParsedLine parsed = parseLine(m_lines[keyLine].text);
        if (valueAsRead(parsed.value) == clean)
            return;
        const QString text = parsed.name.toString() + u'=' + clean;
        if (std::optional<Line> line = makeLine(text, m_lines[keyLine].eol))
            m_lines[keyLine] = std::move(*line);
        return;
    }

    qsizetype last = sectionLine;
    for (qsizetype i = sectionLine + 1; i < m_lines.size() && !isSectionLine(i); ++i) {
        if (!trimBlanks(m_lines[i].text).isEmpty())
            last = i;
    }
    std::optional<Line> line = makeLine(key + u'=' + clean, encodedEol());
    if (!line)
        return;
    endLine(last);
    m_lines.insert(last + 1, std::move(*line));
}

QByteArray IniFile::toBytes() const
{
    QByteArray bytes = bomOf(m_encoding);
    for (const Line &line : m_lines)
        bytes += line.raw;
    return bytes + m_tail;
}

bool IniFile::save(const QString &path, QString *error) const
{
    if (m_keepFile) {
        if (error)
            *error = QCoreApplication::translate("IniFile", "最後まで読み込めなかったファイルは上書きしません。");
        return false;
    }
    return writeFileAtomically(path, toBytes(), error);
}
