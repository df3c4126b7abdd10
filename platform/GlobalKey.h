// SPDX-License-Identifier: MIT
#pragma once

#include <QAbstractNativeEventFilter>
#include <QKeyCombination>
#include <QObject>

#include <cstdint>
#include <vector>

// A key taken from the whole X11 desktop: a passive grab on the root window,
// made for every state of Caps Lock and Num Lock so that neither stops the
// key. The presses arrive with Qt's own X events, through a native event
// filter: nothing polls, and idle costs nothing. Held down, the key reports
// one press, not one per auto-repeat. Elsewhere (Wayland, the tests'
// offscreen platform) grab() answers Unavailable.
class GlobalKey : public QObject, public QAbstractNativeEventFilter
{
    Q_OBJECT

public:
    enum class Result {
        Taken,
        Busy,        // another program holds the combination
        Unavailable, // no X server, or no key for it on this keyboard
    };

    explicit GlobalKey(QObject *parent = nullptr);
    ~GlobalKey() override;

    // Takes `combination` instead of the key held so far; an unusable or
    // empty one only lets go.
    Result grab(QKeyCombination combination);
    void release();
    bool isGrabbed() const { return !m_grabs.empty(); }

    bool nativeEventFilter(const QByteArray &eventType, void *message, qintptr *result) override;

Q_SIGNALS:
    // The key was pressed; `timestamp` is the X server's time of the press,
    // which window managers want with the activation it leads to.
    void pressed(quint32 timestamp);

private:
    struct Grab {
        uint8_t keycode;
        uint16_t modifiers;
    };
    QKeyCombination m_combination;
    std::vector<Grab> m_grabs;
    uint16_t m_lockMasks = 0; // the bits a press may carry beyond the combination's
    uint32_t m_root = 0;
    bool m_held = false;
    uint32_t m_releasedAt = 0;
};
