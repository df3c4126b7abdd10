// SPDX-License-Identifier: MIT
// The settings file's value syntax: any text parses without harm, and every
// integer and every single-precision opacity the launcher writes reads back
// as the same value, whatever the locale's decimal separator.
#include "FuzzCheck.h"

#include "core/settings/SettingsKeys.h"

#include <QLocale>

#include <cmath>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = fuzz::utf16Of(data, size);
    parseIniInt(text, 7);
    parseIniBool(text, true);
    FUZZ_CHECK(std::isfinite(parseIniFloat(text, 0.5)));

    if (size < 5)
        return 0;
    int32_t number;
    std::memcpy(&number, data + 1, sizeof number);
    FUZZ_CHECK(parseIniInt(QString::number(number), ~number) == number);
    // A hand-written colour in hexadecimal is a 32-bit pattern.
    const QString hex = QStringLiteral("0x%1").arg(uint32_t(number), 0, 16);
    FUZZ_CHECK(parseIniInt(hex, ~number) == number);

    float opacity;
    std::memcpy(&opacity, data + 1, sizeof opacity);
    if (!std::isfinite(opacity))
        return 0;
    static const QLocale::Language kLanguages[] = {QLocale::C, QLocale::German, QLocale::French, QLocale::Arabic,
                                                   QLocale::Japanese};
    QLocale::setDefault(QLocale(kLanguages[data[0] % std::size(kLanguages)]));
    const QString written = formatIniFloat(double(opacity));
    FUZZ_CHECK(float(parseIniFloat(written, double(opacity) + 1.0)) == opacity);
    return 0;
}
