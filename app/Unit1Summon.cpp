// SPDX-License-Identifier: MIT
// Summoning the bar from anywhere: the global key, and --show and --toggle
// from another start.
#include "app/Unit1.h"

#include "app/ErrorReport.h"
#include "app/StealthMode.h"
#include "launcher/LaunchButton.h"
#include "platform/GlobalKey.h"
#include "platform/X11Activation.h"
#include "platform/X11Window.h"

#include <QDialog>
#include <QGuiApplication>
#include <QKeySequence>
#include <QWindow>

void TForm1::setUpSummoning()
{
    m_summonKey = new GlobalKey(this);
    connect(m_summonKey, &GlobalKey::pressed, this, &TForm1::toggleSummon);
    connect(qGuiApp, &QGuiApplication::focusWindowChanged, this, &TForm1::summonFocusChanged);
    // The grab costs round trips to the X server that the first paint need
    // not wait for.
    connect(this, &TForm1::firstPainted, this, &TForm1::takeSummonKey, Qt::SingleShotConnection);
}

bool TForm1::summonKeyTaken() const
{
    return m_summonKey && m_summonKey->isGrabbed();
}

void TForm1::takeSummonKey()
{
    const SummonKey &wanted = m_settings.summonKey;
    if (m_summonKeyAsked == wanted)
        return;
    m_summonKeyAsked = wanted;
    if (!wanted.isOn()) {
        m_summonKey->release();
        return;
    }
    const QString keyText = QKeySequence(wanted.key).toString(QKeySequence::NativeText);
    switch (m_summonKey->grab(wanted.key)) {
    case GlobalKey::Result::Taken:
        return;
    case GlobalKey::Result::Busy:
        //: %1 is a key combination such as Ctrl+Alt+Space.
        ErrorReport::notify(this, tr("呼び出しキー %1 は他のプログラムが使っているため、使えません。"
                                     "バーはこのキーなしで動きます。設定で別のキーを選ぶか、"
                                     "デスクトップのショートカットに「Quillbrook --toggle」を登録してください。")
                                      .arg(keyText));
        return;
    case GlobalKey::Result::Unavailable:
        // Without X11 the desktop's own shortcut settings run --toggle
        // (README); only a keyboard lacking the key is news to the user.
        if (X11Window::isX11())
            //: %1 is a key combination such as Ctrl+Alt+Space.
            ErrorReport::notify(this, tr("呼び出しキー %1 はこのキーボードにありません。"
                                         "設定で別のキーを選んでください。")
                                          .arg(keyText));
        return;
    }
}

void TForm1::summon(quint32 timestamp)
{
    const quint32 own = quint32(winId());
    if (const quint32 active = X11Activation::activeWindow(); active != 0 && active != own)
        m_focusBefore = active;
    if (m_settings.isStealth && m_summonHold == SummonHold::None) {
        m_summonHold = SummonHold::Summoned;
        suspendStealth();
    }
    bringToFront();
    X11Activation::activate(own, timestamp);
    if (!LaunchBtn().isEmpty())
        LaunchBtn().first()->setFocus(Qt::ShortcutFocusReason);
    else
        setFocus(Qt::ShortcutFocusReason);
}

void TForm1::toggleSummon(quint32 timestamp)
{
    const quint32 active = X11Activation::activeWindow();
    const bool barActive = active != 0 ? active == quint32(winId()) : isActiveWindow();
    if (barActive && m_focusBefore != 0) {
        X11Activation::activate(m_focusBefore, timestamp);
        m_focusBefore = 0;
        return;
    }
    summon(timestamp);
}

void TForm1::summonFocusChanged(QWindow *window)
{
    if (window == windowHandle()) {
        if (m_summonHold == SummonHold::Summoned)
            m_summonHold = SummonHold::Focused;
        return;
    }
    // Until the window manager has handed the bar the focus, a change
    // elsewhere is the one before the summon arriving late.
    if (m_summonHold != SummonHold::Focused)
        return;
    m_summonHold = SummonHold::None;
    // An open dialog holds the fade off itself and lifts it at its closing.
    const bool dialogOpen = (m_settingsDialog && m_settingsDialog->isVisible())
                            || (m_parameterEditor && m_parameterEditor->isVisible());
    if (!dialogOpen)
        resumeStealth();
}
