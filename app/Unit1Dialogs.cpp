// SPDX-License-Identifier: MIT
// The commands that open the two dialogs.
#include "app/Unit1.h"

#include "launcher/LaunchButton.h"

#include <QDialog>

void TForm1::SetingClick()
{
    if (!m_settingsDialog)
        return;
    // Already open: only bring it to the front, nothing is reloaded.
    if (m_settingsDialog->isVisible()) {
        m_settingsDialog->raise();
        m_settingsDialog->activateWindow();
        return;
    }
    m_settingsDialog->show();
}

void TForm1::EditCmdClick()
{
    selectIndex = LaunchBtn.indexOf(obj.data());
    if (selectIndex < 0 || !m_parameterEditor || selectIndex >= currentLines().size())
        return;
    // The editor fills its fields from line selectIndex as it opens.
    m_parameterEditor->exec();
}
