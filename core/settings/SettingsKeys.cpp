// SPDX-License-Identifier: MIT
#include "core/settings/SettingsKeys.h"

#include "core/settings/IniFile.h"

#include <QLocale>

#include <cmath>

constexpr std::array<SettingSpec, kSettingCount> kSettings = {{
    {Setting::FormTop, "Form", "Top", SettingType::Integer, "0"},
    {Setting::FormLeft, "Form", "Left", SettingType::Integer, "670"},
    {Setting::FormHeight, "Form", "Height", SettingType::Integer, "100"},
    {Setting::FormWidth, "Form", "Width", SettingType::Integer, "500"},
    {Setting::FormTaskBar, "Form", "TaskBar", SettingType::Boolean, "0"},
    {Setting::IconWidth, "Icon", "Width", SettingType::Integer, "48"},
    {Setting::IconCorner, "Icon", "Corner", SettingType::Integer, "4"},
    {Setting::IconGapH, "Icon", "GapH", SettingType::Integer, "2"},
    {Setting::IconGapV, "Icon", "GapV", SettingType::Integer, "2"},
    {Setting::IconShadow, "Icon", "Shadow", SettingType::Boolean, "1"},
    {Setting::IconGlow, "Icon", "Glow", SettingType::Integer, "4"},
    {Setting::IconPadding, "Icon", "Padding", SettingType::Integer, "14"},
    {Setting::HintShow, "Hint", "Show", SettingType::Boolean, "1"},
    {Setting::ModeStealth, "Mode", "Stealth", SettingType::Boolean, "0"},
    {Setting::ModeTop, "Mode", "Top", SettingType::Boolean, "0"},
    {Setting::MenuIndex, "Menu", "Index", SettingType::Integer, "0"},
    {Setting::MenuName0, "Menu", "Name0", SettingType::String, QT_TRANSLATE_NOOP("TForm1", "メニュー1")},
    {Setting::MenuName1, "Menu", "Name1", SettingType::String, QT_TRANSLATE_NOOP("TForm1", "メニュー2")},
    {Setting::MenuName2, "Menu", "Name2", SettingType::String, QT_TRANSLATE_NOOP("TForm1", "メニュー3")},
    {Setting::MenuName3, "Menu", "Name3", SettingType::String, QT_TRANSLATE_NOOP("TForm1", "メニュー4")},
    {Setting::MenuName4, "Menu", "Name4", SettingType::String, QT_TRANSLATE_NOOP("TForm1", "メニュー5")},
    {Setting::ColorGlow, "Color", "Glow", SettingType::Integer, "-10496"},
    {Setting::ColorShadow, "Color", "Shadow", SettingType::Integer, "-16777216"},
    {Setting::BackOpa, "Back", "Opa", SettingType::Float, "0.8"},
    {Setting::BackColor0, "Back", "Color0", SettingType::Integer, "-984833"},
    {Setting::BackColor1, "Back", "Color1", SettingType::Integer, "-7722014"},
    {Setting::BackGradient, "Back", "Gradient", SettingType::Boolean, "0"},
    {Setting::BackDirection, "Back", "Direction", SettingType::Integer, "0"},
}};

// settingSpec() indexes the table by the enum.
static_assert([] {
    for (int i = 0; i < kSettingCount; ++i) {
        if (kSettings[i].id != Setting(i))
            return false;
    }
    return true;
}());

const SettingSpec &settingSpec(Setting id)
{
    return kSettings[size_t(id)];
}

namespace {

int hexDigit(QChar c)
{
    if (c >= u'0' && c <= u'9')
        return c.unicode() - u'0';
    if (c >= u'a' && c <= u'f')
        return c.unicode() - u'a' + 10;
    if (c >= u'A' && c <= u'F')
        return c.unicode() - u'A' + 10;
    return -1;
}

std::optional<int32_t> tryParseIniInt(QStringView text)
{
    while (!text.isEmpty() && (text.front() == u' ' || text.front() == u'\t'))
        text = text.sliced(1);
    bool negative = false;
    if (!text.isEmpty() && (text.front() == u'-' || text.front() == u'+')) {
        negative = text.front() == u'-';
        text = text.sliced(1);
    }

    qsizetype hexStart = -1;
    if (text.startsWith(u'$'))
        hexStart = 1;
    else if (text.size() > 2 && (text.startsWith(u"0x") || text.startsWith(u"0X")))
        hexStart = 2;
    if (hexStart >= 0) {
        const QStringView digits = text.sliced(hexStart);
        if (digits.isEmpty() || digits.size() > 8)
            return std::nullopt;
        uint32_t pattern = 0;
        for (const QChar c : digits) {
            const int digit = hexDigit(c);
            if (digit < 0)
                return std::nullopt;
            pattern = pattern << 4 | uint32_t(digit);
        }
        // A colour like 0xFFFFD700 is a negative number as a 32-bit pattern.
        return int32_t(negative ? 0u - pattern : pattern);
    }

    if (text.isEmpty())
        return std::nullopt;
    int64_t magnitude = 0;
    for (const QChar c : text) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
        magnitude = magnitude * 10 + (c.unicode() - u'0');
        if (magnitude > int64_t(INT32_MAX) + 1)
            return std::nullopt;
    }
    const int64_t value = negative ? -magnitude : magnitude;
    if (value > INT32_MAX)
        return std::nullopt;
    return int32_t(value);
}

QLocale strictLocale(QLocale locale)
{
    // Else "1,500", written where the comma is the decimal separator, would
    // read as 1500 where it is not.
    locale.setNumberOptions(locale.numberOptions() | QLocale::RejectGroupSeparator);
    return locale;
}

QString keyOf(const SettingSpec &spec)
{
    return QString::fromLatin1(spec.key);
}

QString sectionOf(const SettingSpec &spec)
{
    return QString::fromLatin1(spec.section);
}

QString defaultOf(const SettingSpec &spec)
{
    return QString::fromUtf8(spec.defaultValue);
}

} // namespace

int32_t parseIniInt(QStringView text, int32_t fallback)
{
    return tryParseIniInt(text).value_or(fallback);
}

bool parseIniBool(QStringView text, bool fallback)
{
    const std::optional<int32_t> value = tryParseIniInt(text);
    return value ? *value != 0 : fallback;
}

double parseIniFloat(QStringView text, double fallback)
{
    // QLocale() is the system's locale unless the program chose another.
    const QLocale locale = strictLocale(QLocale());
    bool ok = false;
    double value = locale.toDouble(text, &ok);
    if (!ok) {
        // A file written under another locale, or edited by hand, may hold a
        // point; the locale's separator read as one keeps its own digits too.
        QString pointed = text.toString();
        pointed.replace(locale.decimalPoint(), QStringLiteral("."));
        value = strictLocale(QLocale::c()).toDouble(pointed, &ok);
    }
    return ok && std::isfinite(value) ? value : fallback;
}

QString formatIniFloat(double value)
{
    QString text = QString::number(value, 'g', 15);
    const QString decimalPoint = QLocale().decimalPoint();
    if (decimalPoint != u".")
        text.replace(u'.', decimalPoint);
    return text;
}

int32_t readInt(const IniFile &ini, Setting id)
{
    const SettingSpec &spec = settingSpec(id);
    const int32_t fallback = parseIniInt(defaultOf(spec), 0);
    const std::optional<QString> text = ini.value(sectionOf(spec), keyOf(spec));
    return text ? parseIniInt(*text, fallback) : fallback;
}

bool readBool(const IniFile &ini, Setting id)
{
    const SettingSpec &spec = settingSpec(id);
    const bool fallback = parseIniBool(defaultOf(spec), false);
    const std::optional<QString> text = ini.value(sectionOf(spec), keyOf(spec));
    return text ? parseIniBool(*text, fallback) : fallback;
}

double readFloat(const IniFile &ini, Setting id)
{
    const SettingSpec &spec = settingSpec(id);
    const double fallback = parseIniFloat(defaultOf(spec), 0.0);
    const std::optional<QString> text = ini.value(sectionOf(spec), keyOf(spec));
    return text ? parseIniFloat(*text, fallback) : fallback;
}

QString readString(const IniFile &ini, Setting id)
{
    const SettingSpec &spec = settingSpec(id);
    return ini.value(sectionOf(spec), keyOf(spec)).value_or(defaultOf(spec));
}

void writeInt(IniFile &ini, Setting id, int32_t value)
{
    writeString(ini, id, QString::number(value));
}

void writeBool(IniFile &ini, Setting id, bool value)
{
    writeString(ini, id, value ? QStringLiteral("1") : QStringLiteral("0"));
}

void writeFloat(IniFile &ini, Setting id, double value)
{
    writeString(ini, id, formatIniFloat(value));
}

void writeString(IniFile &ini, Setting id, const QString &value)
{
    const SettingSpec &spec = settingSpec(id);
    ini.setValue(sectionOf(spec), keyOf(spec), value);
}
