// SPDX-License-Identifier: MIT
#pragma once

#include "core/settings/SummonKey.h"

#include <QObject>

#include <functional>
#include <optional>

class GlobalKey;
class QWidget;
class QWindow;

// Summoning the bar from anywhere: the global key taken from the desktop,
// and --show and --toggle from another start. A summon remembers the window
// that had the focus, brings the bar up with the focus, and holds stealth
// mode's fade off until the bar, once focused, loses the focus again.
class Summoner : public QObject
{
    Q_OBJECT

public:
    struct Links {
        std::function<bool()> stealthOn;
        // Stealth mode's fade held off, and let go (unless a dialog holds it).
        std::function<void()> holdStealth;
        std::function<void()> releaseStealth;
        // The bar shown, raised and un-minimised.
        std::function<void()> bringToFront;
        // The keyboard focus on the bar's first button.
        std::function<void()> focusFirst;
    };
    Summoner(QWidget *bar, Links links);

    // Takes `wanted` from the desktop, or lets go of the key; tells the user
    // once per choice when another program holds it.
    void takeKey(const SummonKey &wanted);
    // The key is taken from the whole desktop (X11, not held by another
    // program, not turned off).
    bool keyTaken() const;
    // Asks the window manager for the focus at X server time `timestamp`
    // (0: now).
    void summon(quint32 timestamp);
    // summon(), or while the bar has the focus, the focus back to the window
    // that had it before.
    void toggle(quint32 timestamp);

private:
    void focusChanged(QWindow *window);

    QWidget *m_bar;
    Links m_links;
    GlobalKey *m_key;
    std::optional<SummonKey> m_asked; // what takeKey last tried, once per choice
    quint32 m_focusBefore = 0;        // the X window that had the focus before a summon
    enum class Hold { None, Summoned, Focused } m_hold = Hold::None;
};
