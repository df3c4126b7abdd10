// SPDX-License-Identifier: MIT
#include "core/settings/BarSettings.h"

#include "core/settings/IniFile.h"
#include "core/settings/SettingsKeys.h"

#include <QCoreApplication>

#include <algorithm>
#include <cmath>

namespace {

constexpr Setting kGroupNames[kGroupCount] = {Setting::MenuName0, Setting::MenuName1, Setting::MenuName2,
                                              Setting::MenuName3, Setting::MenuName4};

} // namespace

BarSettings BarSettings::read(const IniFile &ini)
{
    BarSettings s;
    s.isShowTaskBar = readBool(ini, Setting::FormTaskBar);
    s.bw2 = readInt(ini, Setting::IconWidth);
    s.bc2 = readInt(ini, Setting::IconCorner);
    s.horizontalGap = readInt(ini, Setting::IconGapH);
    s.verticalGap = readInt(ini, Setting::IconGapV);
    s.shadowEnabled = readBool(ini, Setting::IconShadow);
    s.GlowNo = readInt(ini, Setting::IconGlow);
    s.pad = readInt(ini, Setting::IconPadding);
    s.FShowhint = readBool(ini, Setting::HintShow);
    s.isStealth = readBool(ini, Setting::ModeStealth);
    s.isTop = readBool(ini, Setting::ModeTop);
    for (int n = 0; n < kGroupCount; ++n) {
        const SettingSpec &spec = settingSpec(kGroupNames[n]);
        const bool stored = ini.value(QString::fromLatin1(spec.section), QString::fromLatin1(spec.key)).has_value();
        // The default names are marked for translation in the bar's context.
        s.groupNames[n] = stored ? readString(ini, kGroupNames[n])
                                 : QCoreApplication::translate("TForm1", spec.defaultValue);
    }
    s.GlowColor = QRgb(readInt(ini, Setting::ColorGlow));
    s.shadowColor = QRgb(readInt(ini, Setting::ColorShadow));
    // Clamped before it narrows: a number too large for a float would not fit.
    s.opacity = float(std::clamp(readFloat(ini, Setting::BackOpa), 0.0, 1.0));
    s.color0 = QRgb(readInt(ini, Setting::BackColor0));
    s.color1 = QRgb(readInt(ini, Setting::BackColor1));
    s.isGradient = readBool(ini, Setting::BackGradient);
    s.Direction = readInt(ini, Setting::BackDirection);
    s.keepInRange();
    return s;
}

void BarSettings::write(IniFile &ini, int32_t menuIndex) const
{
    writeBool(ini, Setting::FormTaskBar, isShowTaskBar);
    writeInt(ini, Setting::IconWidth, bw2);
    writeInt(ini, Setting::IconCorner, bc2);
    writeInt(ini, Setting::IconGapH, horizontalGap);
    writeInt(ini, Setting::IconGapV, verticalGap);
    writeBool(ini, Setting::IconShadow, shadowEnabled);
    writeInt(ini, Setting::IconGlow, GlowNo);
    writeInt(ini, Setting::IconPadding, pad);
    writeBool(ini, Setting::HintShow, FShowhint);
    writeBool(ini, Setting::ModeStealth, isStealth);
    writeBool(ini, Setting::ModeTop, isTop);
    writeInt(ini, Setting::MenuIndex, menuIndex);
    for (int n = 0; n < kGroupCount; ++n)
        writeString(ini, kGroupNames[n], groupNames[n]);
    writeInt(ini, Setting::ColorGlow, int32_t(GlowColor));
    writeInt(ini, Setting::ColorShadow, int32_t(shadowColor));
    writeFloat(ini, Setting::BackOpa, double(opacity));
    writeInt(ini, Setting::BackColor0, int32_t(color0));
    writeInt(ini, Setting::BackColor1, int32_t(color1));
    writeBool(ini, Setting::BackGradient, isGradient);
    writeInt(ini, Setting::BackDirection, Direction);
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
