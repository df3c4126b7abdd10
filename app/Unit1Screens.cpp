// SPDX-License-Identifier: MIT
#include "app/Unit1.h"

#include "app/WindowMover.h"
#include "platform/SwayPlacement.h"
#include "platform/X11Window.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTimer>

void TForm1::watchScreens()
{
    // A monitor unplugged or plugged in comes as several signals (the screen,
    // then the others' geometry): one look once they have all arrived.
    m_screenCheck = new QTimer(this);
    m_screenCheck->setSingleShot(true);
    m_screenCheck->setInterval(50);
    connect(m_screenCheck, &QTimer::timeout, this, &TForm1::screensChanged);
    auto *app = qGuiApp;
    connect(app, &QGuiApplication::screenAdded, this, [this](QScreen *screen) {
        watchScreen(screen);
        m_screenCheck->start();
    });
    connect(app, &QGuiApplication::screenRemoved, m_screenCheck, qOverload<>(&QTimer::start));
    for (QScreen *screen : QGuiApplication::screens())
        watchScreen(screen);
}

void TForm1::watchScreen(QScreen *screen)
{
    connect(screen, &QScreen::geometryChanged, m_screenCheck, qOverload<>(&QTimer::start));
    connect(screen, &QScreen::availableGeometryChanged, m_screenCheck, qOverload<>(&QTimer::start));
}

void TForm1::screensChanged()
{
    // The compositor of a native Wayland session moves its windows itself.
    if (X11Window::isWayland() || !isVisible())
        return;
    QList<ScreenArea> screens;
    for (const QScreen *screen : QGuiApplication::screens())
        screens.append({screen->geometry(), screen->availableGeometry()});
    const QRect placed = placeAfterScreenChange(m_userGeometry, geometry(), m_displaced, screens,
                                                QSize(kMinimumSide, kMinimumSide));
    // Nothing is written: the stored place stays for the screen's return.
    m_displaced = !isStoredPlace(m_userGeometry, placed);
    if (placed == geometry())
        return;
    move(placed.topLeft());
    m_mover->resizeWindow(placed.size());
    if (X11Window::isX11() && SwayPlacement::available())
        SwayPlacement::moveTo(this, windowTitle(), placed.topLeft());
}
