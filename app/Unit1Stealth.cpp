// SPDX-License-Identifier: MIT
// Stealth mode as the dialogs see it: StealthMode fades the buttons, the bar
// says whether the mode is on.
#include "app/Unit1.h"

#include "app/StealthMode.h"

void TForm1::suspendStealth()
{
    m_stealth->suspend();
}

void TForm1::resumeStealth()
{
    m_stealth->setEnabled(m_settings.isStealth);
    m_stealth->resume();
}
