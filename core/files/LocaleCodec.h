// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// Conversion to and from the character set of the user's locale, the one the
// launcher's plain files are written in. A C or POSIX locale counts as UTF-8,
// as Qt and Python treat it on today's desktops.
namespace LocaleCodec {

// The character set in use, as iconv names it ("UTF-8", "EUC-JP", ...).
QByteArray charset();
bool isUtf8();

// Tests pin the character set; an empty name returns to the locale's.
void setCharsetForTesting(const QByteArray &name);

// Bytes the character set cannot decode become U+FFFD.
QString decode(const QByteArray &bytes);

// How decodeChecked() read its bytes.
enum class Decoding {
    Clean,        // in the locale's character set, nothing lost
    Utf8Fallback, // not in the locale's character set, but valid UTF-8
    Lossy,        // in neither: bytes became U+FFFD, as decode() gives them
};

struct DecodedText {
    QString text;
    Decoding decoding = Decoding::Clean;
};

// A file written under another locale would otherwise come out garbled, its
// paths no longer naming its files: the locale's character set when it reads
// without loss, else UTF-8 when the bytes are valid UTF-8.
DecodedText decodeChecked(const QByteArray &bytes);

// The bytes as UTF-8, or std::nullopt when they are not valid UTF-8.
std::optional<QString> decodeUtf8(QByteArrayView bytes);

// std::nullopt when a character has no form in the character set, or none
// that reads back as the same character.
std::optional<QByteArray> encode(QStringView text);

} // namespace LocaleCodec
