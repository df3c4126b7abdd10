// SPDX-License-Identifier: MIT
// The commands that open the two dialogs, and stealth mode held off while
// one is open.
#include "app/Unit1.h"

#include "app/StealthMode.h"
#include "launcher/LaunchButton.h"

#include <QDialog>

void TForm1::SetingClick()
{
    if (!m_dialogs.settings)
        return;
    // Already open: only bring it to the front, nothing is reloaded.
    if (m_dialogs.settings->isVisible()) {
        m_dialogs.settings->raise();
        m_dialogs.settings->activateWindow();
        return;
    }
    m_dialogs.settings->show();
}

void TForm1::EditCmdClick()
{
    const qsizetype index = m_grid->rowOf(obj.data());
    if (index < 0 || !m_dialogs.parameterEditor || index >= currentGroup().size())
        return;
    Q_EMIT entryEditRequested(int(index));
    m_dialogs.parameterEditor->exec();
}

void TForm1::suspendStealth()
{
    m_stealth->suspend();
}

void TForm1::resumeStealth()
{
    m_stealth->setEnabled(m_settings.isStealth);
    m_stealth->resume();
}
