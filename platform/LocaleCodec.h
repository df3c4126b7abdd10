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

// std::nullopt when a character has no form in the character set, or none
// that reads back as the same character.
std::optional<QByteArray> encode(QStringView text);

} // namespace LocaleCodec
