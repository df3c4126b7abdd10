// SPDX-License-Identifier: MIT
// The bar's side of the settings file: what each key is read into and
// written from.
#include "app/Unit1.h"

#include "app/ErrorReport.h"
#include "app/Plate.h"
#include "launcher/IconLayer.h"
#include "launcher/IconLayerEffect.h"
#include "core/settings/IniFile.h"
#include "core/settings/SettingsKeys.h"

#include <QAction>
#include <QDir>

namespace {

constexpr Setting kGroupNames[kGroupCount] = {Setting::MenuName0, Setting::MenuName1, Setting::MenuName2,
                                              Setting::MenuName3, Setting::MenuName4};

// Gaps far outside anything sensible would overflow the layout's arithmetic.
int saneGap(int32_t gap)
{
    return std::clamp<int32_t>(gap, -10000, 10000);
}

} // namespace

QString TForm1::groupName(int group) const
{
    return m_groupNames.at(group);
}

void TForm1::setGroupName(int group, const QString &name)
{
    m_groupNames.at(group) = name;
    // A menu reads "&" as a mnemonic and a tab as the start of the shortcut
    // column; line breaks would make a two-line item.
    QString caption = name;
    caption.replace(QLatin1Char('&'), QLatin1String("&&"));
    for (const QChar blank : {u'\t', u'\n', u'\r'})
        caption.replace(blank, QLatin1Char(' '));
    groupItem(group)->setText(caption);
}

QString TForm1::iniPath() const
{
    return HomePath + QLatin1String(kSettingsFileName);
}

void TForm1::ReadIniFile()
{
    const IniFile ini = IniFile::load(iniPath());

    // Kept as read, whatever the screen makes of it: the window gets a
    // place that fits, the file keeps what the user set.
    m_userGeometry.top = readInt(ini, Setting::FormTop);
    m_userGeometry.left = readInt(ini, Setting::FormLeft);
    m_userGeometry.height = readInt(ini, Setting::FormHeight);
    m_userGeometry.width = readInt(ini, Setting::FormWidth);
    m_userMoved = false;
    keepOnScreen();
    isShowTaskBar = readBool(ini, Setting::FormTaskBar);

    // Into the settings dialog's ranges at once: the same file always gives
    // the same bar and the same next write, opened the dialog or not.
    bw = std::clamp<int32_t>(readInt(ini, Setting::IconWidth), kIconSideRange.first, kIconSideRange.second);
    bc = std::clamp<int32_t>(readInt(ini, Setting::IconCorner), kCornerRange.first, kCornerRange.second);
    bw2 = bw;
    bc2 = bc;
    FlowLayout1->setHorizontalGap(saneGap(readInt(ini, Setting::IconGapH)));
    FlowLayout1->setVerticalGap(saneGap(readInt(ini, Setting::IconGapV)));
    ShadowEffect1->setShadowEnabled(readBool(ini, Setting::IconShadow));

    GlowNo = readInt(ini, Setting::IconGlow);
    pad = readInt(ini, Setting::IconPadding);
    FShowhint = readBool(ini, Setting::HintShow);
    isStealth = readBool(ini, Setting::ModeStealth);
    isTop = readBool(ini, Setting::ModeTop);
    MenuIndex = readInt(ini, Setting::MenuIndex);
    // There are five groups; any other number would index past them.
    if (MenuIndex < 0 || MenuIndex >= kGroupCount)
        MenuIndex = 0;

    for (int n = 0; n < kGroupCount; ++n) {
        // A name in the file is the user's and stays as written; only our
        // own default name follows the interface language.
        const SettingSpec &spec = settingSpec(kGroupNames[n]);
        const bool stored = ini.value(QString::fromLatin1(spec.section), QString::fromLatin1(spec.key)).has_value();
        setGroupName(n, stored ? readString(ini, kGroupNames[n]) : tr(spec.defaultValue));
    }

    GlowColor = QRgb(readInt(ini, Setting::ColorGlow));
    ShadowEffect1->setShadowColor(QColor::fromRgba(QRgb(readInt(ini, Setting::ColorShadow))));
    groupItem(MenuIndex)->setChecked(true);

    Rectangle1->setOpacity(float(readFloat(ini, Setting::BackOpa)));
    color0 = QRgb(readInt(ini, Setting::BackColor0));
    color1 = QRgb(readInt(ini, Setting::BackColor1));
    isGradient = readBool(ini, Setting::BackGradient);
    Direction = readInt(ini, Setting::BackDirection);
}

bool TForm1::writeIniFile(QString *error)
{
    // A bar the user dragged partly above or left of the screen comes back
    // to the edge; a place read from the file is the user's to keep.
    if (m_userMoved && (m_userGeometry.top < 0 || m_userGeometry.left < 0)) {
        m_userGeometry.top = std::max(m_userGeometry.top, 0);
        m_userGeometry.left = std::max(m_userGeometry.left, 0);
        move(std::max(x(), 0), std::max(y(), 0));
    }
    // An installed launcher's folder is made at its first save, not before.
    if (createHomeOnSave)
        QDir().mkpath(HomePath);
    QDir::setCurrent(HomePath);

    IniFile ini = IniFile::load(iniPath());
    writeInt(ini, Setting::FormTop, m_userGeometry.top);
    writeInt(ini, Setting::FormLeft, m_userGeometry.left);
    writeInt(ini, Setting::FormHeight, m_userGeometry.height);
    writeInt(ini, Setting::FormWidth, m_userGeometry.width);
    writeBool(ini, Setting::FormTaskBar, isShowTaskBar);
    writeInt(ini, Setting::IconWidth, bw2);
    writeInt(ini, Setting::IconCorner, bc2);
    writeInt(ini, Setting::IconGapH, FlowLayout1->horizontalGap());
    writeInt(ini, Setting::IconGapV, FlowLayout1->verticalGap());
    writeBool(ini, Setting::IconShadow, ShadowEffect1->shadowEnabled());
    writeInt(ini, Setting::IconGlow, GlowNo);
    writeInt(ini, Setting::IconPadding, pad);
    writeBool(ini, Setting::HintShow, FShowhint);
    writeBool(ini, Setting::ModeStealth, isStealth);
    writeBool(ini, Setting::ModeTop, isTop);
    writeInt(ini, Setting::MenuIndex, MenuIndex);
    for (int n = 0; n < kGroupCount; ++n)
        writeString(ini, kGroupNames[n], groupName(n));
    writeInt(ini, Setting::ColorGlow, int32_t(GlowColor));
    writeInt(ini, Setting::ColorShadow, int32_t(ShadowEffect1->shadowColor().rgba()));
    // The plate's opacity is a single-precision value.
    writeFloat(ini, Setting::BackOpa, double(float(Rectangle1->opacity())));
    writeInt(ini, Setting::BackColor0, int32_t(color0));
    writeInt(ini, Setting::BackColor1, int32_t(color1));
    writeBool(ini, Setting::BackGradient, isGradient);
    writeInt(ini, Setting::BackDirection, Direction);

    QString reason;
    if (ini.save(iniPath(), &reason))
        return true;
    if (error)
        //: %1 is the settings file's path, %2 the system's reason.
        *error = tr("%1 に書き込めません。%2").arg(iniPath(), reason);
    return false;
}

bool TForm1::WriteIniFile()
{
    QString error;
    if (writeIniFile(&error))
        return true;
    ErrorReport::show(this, error);
    return false;
}
