// SPDX-License-Identifier: MIT
// Files changed by another program while the bar runs: the current group
// and the settings file are read again as soon as the kernel tells of it.
#include "app/Unit1.h"

#include "app/ArrangeDrag.h"

#include "app/StealthMode.h"
#include "core/files/FileWatch.h"
#include "core/settings/IniFile.h"
#include "launcher/LaunchButton.h"
#include "platform/X11Window.h"

#include <QDialog>

void TForm1::watchFiles()
{
    if (!m_fileWatch) {
        m_fileWatch = new FileWatch(this);
        connect(m_fileWatch, &FileWatch::changed, this, &TForm1::lookAtHandEdits);
    }
    // The other groups are read when switched to: only the current one's
    // changes show.
    m_fileWatch->setPaths(HomePath, {groupPath(m_menuIndex), iniPath()});
}

bool TForm1::userEditPending() const
{
    // Drops are saved at once, so registration mode alone holds nothing a
    // reload could lose; a save that failed does.
    return m_arrangeDrag->isRunning() || currentGroup().hasUnsavedChanges()
           || (m_settingsDialog && m_settingsDialog->isVisible())
           || (m_parameterEditor && m_parameterEditor->isVisible());
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
    if (fileStamp(iniPath()) != m_iniStamp)
        takeHandEditedSettings(); // reloads the group too
    else if (currentGroup().changedOnDisk())
        LoadGroup(m_menuIndex);
}

void TForm1::takeHandEditedSettings()
{
    m_iniStamp = fileStamp(iniPath());
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
