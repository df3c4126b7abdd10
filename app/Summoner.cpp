// SPDX-License-Identifier: MIT
#include "app/Summoner.h"

#include "app/ErrorReport.h"
#include "platform/GlobalKey.h"
#include "platform/X11Activation.h"
#include "platform/X11Window.h"

#include <QGuiApplication>
#include <QKeySequence>
#include <QWidget>
#include <QWindow>

Summoner::Summoner(QWidget *bar, Links links)
    : QObject(bar)
    , m_bar(bar)
    , m_links(std::move(links))
    , m_key(new GlobalKey(this))
{
    connect(m_key, &GlobalKey::pressed, this, &Summoner::toggle);
    connect(qGuiApp, &QGuiApplication::focusWindowChanged, this, &Summoner::focusChanged);
}

bool Summoner::keyTaken() const
{
    return m_key->isGrabbed();
}

void Summoner::takeKey(const SummonKey &wanted)
{
    if (m_asked == wanted)
        return;
    m_asked = wanted;
    if (!wanted.isOn()) {
        m_key->release();
        return;
    }
    const QString keyText = QKeySequence(wanted.key).toString(QKeySequence::NativeText);
    switch (m_key->grab(wanted.key)) {
    case GlobalKey::Result::Taken:
        return;
    case GlobalKey::Result::Busy:
        //: %1 is a key combination such as Ctrl+Alt+Space.
        ErrorReport::notify(m_bar, tr("呼び出しキー %1 は他のプログラムが使っているため、使えません。"
                                      "バーはこのキーなしで動きます。設定で別のキーを選ぶか、"
                                      "デスクトップのショートカットに「Quillbrook --toggle」を登録してください。")
                                       .arg(keyText));
        return;
    case GlobalKey::Result::Unavailable:
        // Without X11 the desktop's own shortcut settings run --toggle
        // (README); only a keyboard lacking the key is news to the user.
        if (X11Window::isX11())
            //: %1 is a key combination such as Ctrl+Alt+Space.
            ErrorReport::notify(m_bar, tr("呼び出しキー %1 はこのキーボードにありません。"
                                          "設定で別のキーを選んでください。")
                                           .arg(keyText));
        return;
    }
}

void Summoner::summon(quint32 timestamp)
{
    const quint32 own = quint32(m_bar->winId());
    if (const quint32 active = X11Activation::activeWindow(); active != 0 && active != own)
        m_focusBefore = active;
    if (m_links.stealthOn() && m_hold == Hold::None) {
        m_hold = Hold::Summoned;
        m_links.holdStealth();
    }
    m_links.bringToFront();
    X11Activation::activate(own, timestamp);
    m_links.focusFirst();
}

void Summoner::toggle(quint32 timestamp)
{
    const quint32 active = X11Activation::activeWindow();
    const bool barActive = active != 0 ? active == quint32(m_bar->winId()) : m_bar->isActiveWindow();
    if (barActive && m_focusBefore != 0) {
        X11Activation::activate(m_focusBefore, timestamp);
        m_focusBefore = 0;
        return;
    }
    summon(timestamp);
}

void Summoner::focusChanged(QWindow *window)
{
    if (window == m_bar->windowHandle()) {
        if (m_hold == Hold::Summoned)
            m_hold = Hold::Focused;
        return;
    }
    // Until the window manager has handed the bar the focus, a change
    // elsewhere is the one before the summon arriving late.
    if (m_hold != Hold::Focused)
        return;
    m_hold = Hold::None;
    m_links.releaseStealth();
}
