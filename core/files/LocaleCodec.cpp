// SPDX-License-Identifier: MIT
#include "core/files/LocaleCodec.h"

#include <QStringConverter>

#include <algorithm>
#include <cerrno>
#include <iconv.h>
#include <langinfo.h>

namespace {

QByteArray g_charsetOverride;

bool isUtf8Name(const QByteArray &name)
{
    const QByteArray n = name.toUpper();
    return n == "UTF-8" || n == "UTF8";
}

bool isPlainAscii(const QByteArray &name)
{
    const QByteArray n = name.toUpper();
    return n.isEmpty() || n == "ANSI_X3.4-1968" || n == "ASCII" || n == "US-ASCII";
}

// Runs iconv over the whole input. Returns false at the first sequence that
// has no form in the target (when `strict`), else replaces it.
bool convert(const QByteArray &from, const QByteArray &to, const QByteArray &input, QByteArray *output, bool strict,
             const QByteArray &replacement)
{
    iconv_t cd = iconv_open(to.constData(), from.constData());
    if (cd == reinterpret_cast<iconv_t>(-1)) // NOLINT(performance-no-int-to-ptr): iconv_open's own error value
        return false;
    output->clear();
    QByteArray buffer(4096, Qt::Uninitialized);
    char *in = const_cast<char *>(input.constData());
    size_t inLeft = size_t(input.size());
    bool ok = true;
    while (inLeft > 0) {
        char *out = buffer.data();
        size_t outLeft = size_t(buffer.size());
        const size_t rc = iconv(cd, &in, &inLeft, &out, &outLeft);
        output->append(buffer.constData(), buffer.size() - qsizetype(outLeft));
        if (rc != size_t(-1))
            continue;
        if (errno == E2BIG)
            continue;
        if (strict) {
            ok = false;
            break;
        }
        // EILSEQ or EINVAL: skip one input unit and mark it.
        output->append(replacement);
        const size_t step = from.startsWith("UTF-16") ? 2 : 1;
        in += std::min(step, inLeft);
        inLeft -= std::min(step, inLeft);
    }
    char *out = buffer.data();
    size_t outLeft = size_t(buffer.size());
    iconv(cd, nullptr, nullptr, &out, &outLeft);
    output->append(buffer.constData(), buffer.size() - qsizetype(outLeft));
    iconv_close(cd);
    return ok;
}

} // namespace

namespace LocaleCodec {

QByteArray charset()
{
    if (!g_charsetOverride.isEmpty())
        return g_charsetOverride;
    const QByteArray name = nl_langinfo(CODESET);
    return isPlainAscii(name) ? QByteArray("UTF-8") : name;
}

bool isUtf8()
{
    return isUtf8Name(charset());
}

void setCharsetForTesting(const QByteArray &name)
{
    g_charsetOverride = name;
}

QString decode(const QByteArray &bytes)
{
    if (isUtf8()) {
        // QString::fromUtf8() would drop a leading U+FEFF, which is text here:
        // callers have dealt with byte-order marks already.
        QStringDecoder decoder(QStringConverter::Utf8,
                               QStringConverter::Flag::Stateless | QStringConverter::Flag::ConvertInitialBom);
        return decoder.decode(bytes);
    }
    QByteArray utf16;
    convert(charset(), "UTF-16LE", bytes, &utf16, false, QByteArray("\xFD\xFF", 2));
    return QString(reinterpret_cast<const QChar *>(utf16.constData()), utf16.size() / 2);
}

std::optional<QString> decodeUtf8(QByteArrayView bytes)
{
    QStringDecoder decoder(QStringConverter::Utf8,
                           QStringConverter::Flag::Stateless | QStringConverter::Flag::ConvertInitialBom);
    QString text = decoder.decode(bytes);
    if (decoder.hasError())
        return std::nullopt;
    return text;
}

DecodedText decodeChecked(const QByteArray &bytes)
{
    if (isUtf8()) {
        if (std::optional<QString> text = decodeUtf8(bytes))
            return {std::move(*text), Decoding::Clean};
        return {decode(bytes), Decoding::Lossy};
    }
    QByteArray utf16;
    if (convert(charset(), "UTF-16LE", bytes, &utf16, true, {}))
        return {QString(reinterpret_cast<const QChar *>(utf16.constData()), utf16.size() / 2), Decoding::Clean};
    if (std::optional<QString> text = decodeUtf8(bytes))
        return {std::move(*text), Decoding::Utf8Fallback};
    return {decode(bytes), Decoding::Lossy};
}

std::optional<QByteArray> encode(QStringView text)
{
    if (isUtf8()) {
        // Lone surrogates have no UTF-8 form.
        QStringEncoder encoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
        QByteArray out = encoder.encode(text);
        if (encoder.hasError())
            return std::nullopt;
        return out;
    }
    const QByteArray utf16(reinterpret_cast<const char *>(text.utf16()), text.size() * 2);
    QByteArray out;
    if (!convert("UTF-16LE", charset(), utf16, &out, true, {}))
        return std::nullopt;
    // Some character sets map two characters to one byte sequence
    // (Shift_JIS writes the backslash as the byte it reads as the yen sign):
    // a path that changes on its way to the file would no longer exist.
    if (decode(out) != text)
        return std::nullopt;
    return out;
}

} // namespace LocaleCodec
