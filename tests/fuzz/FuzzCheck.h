// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QString>

#include <cstdio>
#include <cstdlib>

// A broken property is a crash, so libFuzzer keeps the input that shows it.
#define FUZZ_CHECK(cond)                                                                     \
    do {                                                                                     \
        if (!(cond)) {                                                                       \
            std::fprintf(stderr, "%s:%d: property failed: %s\n", __FILE__, __LINE__, #cond); \
            std::abort();                                                                    \
        }                                                                                    \
    } while (false)

namespace fuzz {

inline QByteArray bytesOf(const uint8_t *data, size_t size)
{
    return QByteArray(reinterpret_cast<const char *>(data), qsizetype(size));
}

// Any bytes as UTF-16 code units, lone surrogates included.
inline QString utf16Of(const uint8_t *data, size_t size)
{
    QString text(qsizetype(size / 2), Qt::Uninitialized);
    for (qsizetype i = 0; i < text.size(); ++i)
        text[i] = QChar(char16_t(data[2 * i] | data[2 * i + 1] << 8));
    return text;
}

// Character sets a Linux locale may use; the first byte of an input picks one.
inline QByteArray charsetFor(uint8_t selector)
{
    static const char *const kCharsets[] = {"UTF-8",   "ISO-8859-1", "EUC-JP", "SHIFT_JIS",
                                            "GB18030", "BIG5-HKSCS", "KOI8-R", "CP1251"};
    return kCharsets[selector % (sizeof kCharsets / sizeof *kCharsets)];
}

} // namespace fuzz
