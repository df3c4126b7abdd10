// SPDX-License-Identifier: MIT
#include "core/settings/BarSettings.h"

#include "core/settings/IniFile.h"
#include "core/settings/SettingsKeys.h"

#include <QCoreApplication>

#include <algorithm>
#include <cmath>
#include <iterator>
#include <variant>

namespace {

constexpr Setting kGroupNames[kGroupCount] = {Setting::MenuName0, Setting::MenuName1, Setting::MenuName2,
                                              Setting::MenuName3, Setting::MenuName4};

// Which field each key of ours is read into and written from. Colours are
// stored as signed integers.
using Member = std::variant<int32_t BarSettings::*, bool BarSettings::*, QRgb BarSettings::*, float BarSettings::*>;
struct Field {
    Setting id;
    Member member;
};
const Field kFields[] = {
    {Setting::FormTaskBar, &BarSettings::isShowTaskBar},
    {Setting::IconWidth, &BarSettings::bw2},
    {Setting::IconCorner, &BarSettings::bc2},
    {Setting::IconGapH, &BarSettings::horizontalGap},
    {Setting::IconGapV, &BarSettings::verticalGap},
    {Setting::IconShadow, &BarSettings::shadowEnabled},
    {Setting::IconGlow, &BarSettings::GlowNo},
    {Setting::IconPadding, &BarSettings::pad},
    {Setting::HintShow, &BarSettings::FShowhint},
    {Setting::ModeStealth, &BarSettings::isStealth},
    {Setting::ModeTop, &BarSettings::isTop},
    {Setting::ColorGlow, &BarSettings::GlowColor},
    {Setting::ColorShadow, &BarSettings::shadowColor},
    {Setting::BackOpa, &BarSettings::opacity},
    {Setting::BackColor0, &BarSettings::color0},
    {Setting::BackColor1, &BarSettings::color1},
    {Setting::BackGradient, &BarSettings::isGradient},
    {Setting::BackDirection, &BarSettings::Direction},
};

const Field *fieldOf(Setting id)
{
    const auto found = std::find_if(std::begin(kFields), std::end(kFields),
                                    [id](const Field &f) { return f.id == id; });
    return found == std::end(kFields) ? nullptr : found;
}

template<class... Ts>
struct Overloads : Ts... {
    using Ts::operator()...;
};
// Clang before 17 deduces no aggregate's template arguments by itself.
template<class... Ts>
Overloads(Ts...) -> Overloads<Ts...>;

void readField(const IniFile &ini, const Field &field, BarSettings &s)
{
    std::visit(Overloads{
                   [&](int32_t BarSettings::*m) { s.*m = readInt(ini, field.id); },
                   [&](bool BarSettings::*m) { s.*m = readBool(ini, field.id); },
                   [&](QRgb BarSettings::*m) { s.*m = QRgb(readInt(ini, field.id)); },
                   // Clamped before it narrows: a number too large for a float would not fit.
                   [&](float BarSettings::*m) { s.*m = float(std::clamp(readFloat(ini, field.id), 0.0, 1.0)); },
               },
               field.member);
}

void writeField(IniFile &ini, const Field &field, const BarSettings &s)
{
    std::visit(Overloads{
                   [&](int32_t BarSettings::*m) { writeInt(ini, field.id, s.*m); },
                   [&](bool BarSettings::*m) { writeBool(ini, field.id, s.*m); },
                   [&](QRgb BarSettings::*m) { writeInt(ini, field.id, int32_t(s.*m)); },
                   [&](float BarSettings::*m) { writeFloat(ini, field.id, double(s.*m)); },
               },
               field.member);
}

} // namespace

BarSettings BarSettings::read(const IniFile &ini)
{
    BarSettings s;
    for (const Field &field : kFields)
        readField(ini, field, s);
    for (int n = 0; n < kGroupCount; ++n) {
        const SettingSpec &spec = settingSpec(kGroupNames[n]);
        const bool stored = ini.value(QString::fromLatin1(spec.section), QString::fromLatin1(spec.key)).has_value();
        // The default names are marked for translation in the bar's context.
        s.groupNames[n] = stored ? readString(ini, kGroupNames[n])
                                 : QCoreApplication::translate("TForm1", spec.defaultValue);
    }
    s.summonKey = SummonKey::read(ini);
    s.keepInRange();
    return s;
}

void BarSettings::write(IniFile &ini, int32_t menuIndex) const
{
    // In the key table's order, which a file written from nothing follows.
    for (const SettingSpec &spec : kSettings) {
        if (const Field *field = fieldOf(spec.id)) {
            writeField(ini, *field, *this);
        } else if (spec.id == Setting::MenuIndex) {
            writeInt(ini, spec.id, menuIndex);
        } else if (const auto *name = std::find(std::begin(kGroupNames), std::end(kGroupNames), spec.id);
                   name != std::end(kGroupNames)) {
            writeString(ini, spec.id, groupNames[name - std::begin(kGroupNames)]);
        }
    }
    summonKey.write(ini);
}

void BarSettings::keepInRange()
{
    bw2 = std::clamp(bw2, kIconSideRange.first, kIconSideRange.second);
    bc2 = std::clamp(bc2, kCornerRange.first, kCornerRange.second);
    horizontalGap = std::clamp(horizontalGap, -kMaxGap, kMaxGap);
    verticalGap = std::clamp(verticalGap, -kMaxGap, kMaxGap);
    // As the plate holds it.
    opacity = std::isnan(opacity) ? 1.0f : std::clamp(opacity, 0.0f, 1.0f);
}
