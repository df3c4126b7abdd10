// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <array>
#include <cstdint>

class IniFile;

// The settings file "Quillbrook.ini": every key with its section, type and
// default, in the order in which the keys are read and written.

enum class SettingType { Integer, Boolean, Float, String };

// One line per section of the file.
// clang-format off
enum class Setting {
    FormTop, FormLeft, FormHeight, FormWidth, FormTaskBar,
    IconWidth, IconCorner, IconGapH, IconGapV, IconShadow, IconGlow, IconPadding,
    HintShow,
    ModeStealth, ModeTop,
    MenuIndex, MenuName0, MenuName1, MenuName2, MenuName3, MenuName4,
    ColorGlow, ColorShadow,
    BackOpa, BackColor0, BackColor1, BackGradient, BackDirection,
};
// clang-format on

struct SettingSpec {
    Setting id;
    const char *section;
    const char *key;
    SettingType type;
    const char *defaultValue; // UTF-8, in the form the file would hold it
};

constexpr int kSettingCount = 28;
extern const std::array<SettingSpec, kSettingCount> kSettings;

const SettingSpec &settingSpec(Setting id);

inline constexpr char kSettingsFileName[] = "Quillbrook.ini";

// Value parsing as the file's values are read. Each returns `fallback` for
// a value that does not parse.
// Integer: leading blanks and a sign allowed; "0x"/"0X" (longer than two
// characters) or "$" introduce at most eight hex digits taken as a 32-bit
// pattern; anything that is not a 32-bit integer gives the fallback.
int32_t parseIniInt(QStringView text, int32_t fallback);
// Boolean: read as an integer; anything but 0 is true.
bool parseIniBool(QStringView text, bool fallback);
// Float: the locale's decimal separator, and a point whatever the locale.
double parseIniFloat(QStringView text, double fallback);

// Float written in general format with up to 15 significant digits and the
// locale's decimal separator: 0.8f gives "0.800000011920929".
QString formatIniFloat(double value);

// Typed reads and writes of one key; a missing key gives its default.
int32_t readInt(const IniFile &ini, Setting id);
bool readBool(const IniFile &ini, Setting id);
double readFloat(const IniFile &ini, Setting id);
QString readString(const IniFile &ini, Setting id);

void writeInt(IniFile &ini, Setting id, int32_t value);
void writeBool(IniFile &ini, Setting id, bool value);
void writeFloat(IniFile &ini, Setting id, double value);
void writeString(IniFile &ini, Setting id, const QString &value);
