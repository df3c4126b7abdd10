// SPDX-License-Identifier: MIT
#pragma once

#include <QAbstractNativeEventFilter>
#include <QObject>

// Tells when a compositing manager starts or stops on the X screen: it owns
// the selection _NET_WM_CM_S<screen> while it runs, and XFixes reports every
// change of that owner. Does nothing on another platform.
class CompositorWatch : public QObject, public QAbstractNativeEventFilter
{
    Q_OBJECT

public:
    explicit CompositorWatch(QObject *parent = nullptr);
    ~CompositorWatch() override;

    bool nativeEventFilter(const QByteArray &eventType, void *message, qintptr *result) override;

Q_SIGNALS:
    // A compositor came or went; `running` is what the X server says now.
    void changed(bool running);

private:
    uint8_t m_firstXfixesEvent = 0;
    uint32_t m_selection = 0;
    bool m_watching = false;
};
