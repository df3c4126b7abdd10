// SPDX-License-Identifier: MIT
// The window's look: the plate's fill and the window's transparency.
#include "app/Unit1.h"

#include "app/BarMenus.h"
#include "app/DropArea.h"
#include "app/Plate.h"
#include "launcher/IconQueue.h"

#include <QPainter>
#include <QPainterPath>

void TForm1::SetBackColor()
{
    const BarSettings &s = m_settings;
    if (!s.isGradient) {
        Rectangle1->setSolidFill(QColor::fromRgba(s.color0));
        return;
    }
    Rectangle1->setGradientFill(QColor::fromRgba(s.color0), QColor::fromRgba(s.color1));
    switch (s.Direction) {
    case 0:
        Rectangle1->setGradientPositions({0, 0}, {0, 1});
        break;
    case 1:
        Rectangle1->setGradientPositions({0, 0}, {1, 0});
        break;
    case 2:
        Rectangle1->setGradientPositions({0, 0}, {1, 1});
        break;
    default:
        // Keeps the positions set last.
        break;
    }
}

void TForm1::setTransparency(bool on)
{
    if (m_transparency == on)
        return;
    m_transparency = on;
    updateWindowShape();
    update();
}

bool TForm1::isRegistrationAreaShown() const
{
    return !DropTarget1->isHidden();
}

void TForm1::updateWindowShape()
{
    // Without a compositor the transparent parts would show black: cut the
    // window to the plate instead.
    if (m_compositor || !m_transparency) {
        clearMask();
        return;
    }
    QPainterPath path;
    path.addRoundedRect(QRectF(Rectangle1->plateRect()), Plate::kCornerRadius, Plate::kCornerRadius);
    setMask(QRegion(path.toFillPolygon().toPolygon()));
}

void TForm1::compositorChanged(bool running)
{
    if (m_compositor == running)
        return;
    m_compositor = running;
    Rectangle1->setOpaque(!running);
    updateWindowShape();
    m_menus->setCompositorRunning(running);
    update();
}

void TForm1::paintEvent(QPaintEvent *)
{
    if (!m_painted) {
        m_painted = true;
        m_grid->layerPainted();
        // After the paint has reached the screen, not within it.
        QMetaObject::invokeMethod(this, &TForm1::firstPainted, Qt::QueuedConnection);
    }
    if (m_transparency)
        return;
    QPainter p(this);
    p.fillRect(rect(), palette().window());
}
