// SPDX-License-Identifier: MIT
// The bar's side of the settings file, and what the settings dialog hands
// it: the widgets that show each setting; the group and settings files
// changed by hand, seen at once.
#include "app/Unit1.h"

#include "app/ArrangeDrag.h"
#include "app/BarMenus.h"
#include "app/ErrorReport.h"
#include "app/Plate.h"
#include "app/StealthMode.h"
#include "core/files/FileWatch.h"
#include "core/settings/IniFile.h"
#include "core/settings/SettingsKeys.h"
#include "launcher/IconLayer.h"
#include "launcher/IconLayerEffect.h"
#include "launcher/LaunchButton.h"
#include "platform/X11Window.h"

#include <QDialog>
#include <QDir>
#include <QFileInfo>

namespace {

// The plate's fill of `fill`, everything else of `s`.
BarSettings withFillOf(BarSettings s, const BarSettings &fill)
{
    s.color0 = fill.color0;
    s.color1 = fill.color1;
    s.isGradient = fill.isGradient;
    s.Direction = fill.Direction;
    return s;
}

} // namespace

QString TForm1::groupName(int group) const
{
    return m_settings.groupNames.at(group);
}

void TForm1::setGroupName(int group, const QString &name)
{
    m_settings.groupNames.at(group) = name;
    m_menus->setGroupName(group, name);
    if (group == m_menuIndex)
        nameCurrentGroup();
}

QString TForm1::iniPath() const
{
    return HomePath + QLatin1String(kSettingsFileName);
}

void TForm1::ReadIniFile()
{
    // Taken before reading: a change made while we read shows as one.
    m_handEdits.ini = fileStamp(iniPath());
    const IniFile ini = IniFile::load(iniPath());

    // Kept as read, whatever the screen makes of it: the window gets a
    // place that fits, the file keeps what the user set.
    m_userGeometry.top = readInt(ini, Setting::FormTop);
    m_userGeometry.left = readInt(ini, Setting::FormLeft);
    m_userGeometry.height = readInt(ini, Setting::FormHeight);
    m_userGeometry.width = readInt(ini, Setting::FormWidth);
    m_userMoved = false;
    keepOnScreen();

    m_settings = BarSettings::read(ini);
    bw = m_settings.bw2;
    bc = m_settings.bc2;
    showLayerSettings();
    m_menuIndex = readInt(ini, Setting::MenuIndex);
    // There are five groups; any other number would index past them.
    if (m_menuIndex < 0 || m_menuIndex >= kGroupCount)
        m_menuIndex = 0;
    for (int n = 0; n < kGroupCount; ++n)
        setGroupName(n, m_settings.groupNames[n]);
    m_menus->setGroupChecked(m_menuIndex);
}

void TForm1::showLayerSettings()
{
    FlowLayout1->setHorizontalGap(m_settings.horizontalGap);
    FlowLayout1->setVerticalGap(m_settings.verticalGap);
    ShadowEffect1()->setShadowEnabled(m_settings.shadowEnabled);
    ShadowEffect1()->setShadowColor(QColor::fromRgba(m_settings.shadowColor));
    Rectangle1->setOpacity(qreal(m_settings.opacity));
}

void TForm1::previewSettings(const BarSettings &chosen)
{
    BarSettings s = chosen;
    s.keepInRange();
    m_settings.bw2 = s.bw2;
    m_settings.bc2 = s.bc2;
    m_settings.horizontalGap = s.horizontalGap;
    m_settings.verticalGap = s.verticalGap;
    m_settings.shadowEnabled = s.shadowEnabled;
    showLayerSettings();
}

bool TForm1::applySettings(const BarSettings &chosen, bool rebuild)
{
    BarSettings s = chosen;
    s.keepInRange();
    // The rebuild repaints the plate, whose fill changes only once the file
    // holds the new one.
    m_settings = withFillOf(s, m_settings);
    showLayerSettings();
    // Through the window manager: the bar neither moves nor flashes.
    X11Window::setStaysOnTop(this, m_settings.isTop);
    resumeStealth();
    if (!currentGroup().isEmpty())
        setTransparency(true);
    clearAddMenuCheck();
    if (rebuild)
        rebuildButtons(s.bw2, s.bc2);
    for (int n = 0; n < kGroupCount; ++n)
        setGroupName(n, s.groupNames[n]);
    m_settings = s;
    // Hints and hover effect for the buttons made or changed from now on.
    m_grid->setLook(buttonLook());
    takeSummonKey();
    if (!WriteIniFile())
        return false;
    SetBackColor();
    return true;
}

bool TForm1::writeSettingsFile(QString *error)
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
    m_settings.write(ini, m_menuIndex);

    QString reason;
    if (ini.save(iniPath(), &reason)) {
        // Our own write is no hand edit.
        m_handEdits.ini = fileStamp(iniPath());
        return true;
    }
    // The save leaves the file as it was: there, it could not be written;
    // missing, it could not be made.
    if (error && QFileInfo::exists(iniPath()))
        //: %1 is the settings file's path, %2 the reason.
        *error = tr("%1 に書き込めません。%2").arg(iniPath(), reason);
    else if (error)
        //: %1 is the settings file's path, %2 the reason.
        *error = tr("%1 を作成できません。%2").arg(iniPath(), reason);
    return false;
}

bool TForm1::WriteIniFile()
{
    QString error;
    if (writeSettingsFile(&error))
        return true;
    ErrorReport::show(this, error);
    return false;
}

void TForm1::watchFiles()
{
    if (!m_handEdits.watch) {
        m_handEdits.watch = new FileWatch(this);
        connect(m_handEdits.watch, &FileWatch::changed, this, &TForm1::lookAtHandEdits);
    }
    // The other groups are read when switched to: only the current one's
    // changes show.
    m_handEdits.watch->setPaths(HomePath, {groupPath(m_menuIndex), iniPath()});
}

bool TForm1::userEditPending() const
{
    // Drops are saved at once, so registration mode alone holds nothing a
    // reload could lose; a save that failed does.
    return m_arrangeDrag->isRunning() || currentGroup().hasUnsavedChanges()
           || (m_dialogs.settings && m_dialogs.settings->isVisible())
           || (m_dialogs.parameterEditor && m_dialogs.parameterEditor->isVisible());
}

void TForm1::lookAtHandEditsSoon()
{
    QMetaObject::invokeMethod(this, &TForm1::lookAtHandEdits, Qt::QueuedConnection);
}

void TForm1::lookAtHandEdits()
{
    // What is under way ends in a save, which merges the other change, or
    // in a look again (lookAtHandEditsSoon).
    if (userEditPending())
        return;
    if (fileStamp(iniPath()) != m_handEdits.ini)
        takeHandEditedSettings(); // reloads the group too
    else if (currentGroup().changedOnDisk())
        LoadGroup(m_menuIndex);
}

void TForm1::takeHandEditedSettings()
{
    m_handEdits.ini = fileStamp(iniPath());
    BarSettings s = BarSettings::read(IniFile::load(iniPath()));
    s.keepInRange();
    const bool wasTop = m_settings.isTop;
    m_settings = s;
    showLayerSettings();
    if (s.isTop != wasTop)
        X11Window::setStaysOnTop(this, s.isTop);
    m_stealth->setEnabled(s.isStealth);
    takeSummonKey();
    for (int n = 0; n < kGroupCount; ++n)
        setGroupName(n, s.groupNames[n]);
    // The buttons take the icon size, hints and hover effect, the plate its
    // fill; the group's file, which may have changed as well, is read again.
    bw = s.bw2;
    bc = s.bc2;
    FormShow();
}
