// SPDX-License-Identifier: MIT
// Stealth mode: the buttons fade out while the pointer is away from the bar
// and come back at once when it returns. The tick runs only while the
// pointer's side of the edge can still change what is shown: once the
// buttons are gone with the pointer away, or shown with it inside, nothing
// changes until the pointer crosses the edge, and the window system tells
// of that.
#include "app/Unit1.h"

#include "launcher/IconLayer.h"

#include <QApplication>
#include <QPropertyAnimation>
#include <QTimer>

#include <cmath>

void TForm1::Timer1Timer()
{
    if (!pointerPosition)
        return;
    const std::optional<QPoint> pointer = pointerPosition();
    if (!pointer)
        return;
    const int x = pointer->x();
    const int y = pointer->y();
    // Strict on all four sides: the edge columns and rows count as outside.
    const bool inside = this->x() < x && x < this->x() + width() && this->y() < y && y < this->y() + height();
    if (inside) {
        FlowLayout1->setOpacity(1);
        FlowLayout1->setVisible(true);
        if (pointerCrossingsReported() && testAttribute(Qt::WA_UnderMouse))
            Timer1->stop();
        return;
    }
    const qreal opacity = FlowLayout1->opacity();
    // Once per departure: a fade under way or finished is left alone.
    if (!(opacity <= 0.95)) {
        FloatAnimation1->setStartValue(1.0);
        FloatAnimation1->setEndValue(0.0);
        FloatAnimation1->setDuration(400);
        FloatAnimation1->start();
        return;
    }
    const bool faded = opacity <= 0 && FloatAnimation1->state() != QAbstractAnimation::Running;
    if (faded && pointerCrossingsReported() && !testAttribute(Qt::WA_UnderMouse))
        Timer1->stop();
}

bool TForm1::pointerCrossingsReported() const
{
    // A popup's grab hides crossings from the bar, so the tick must go on
    // while one is open.
    return !QApplication::activePopupWidget();
}

void TForm1::pointerCrossedEdge()
{
    if (m_settings.isStealth && !m_stealthSuspended && !Timer1->isActive())
        Timer1->start();
}

void TForm1::enterEvent(QEnterEvent *event)
{
    QWidget::enterEvent(event);
    pointerCrossedEdge();
}

void TForm1::leaveEvent(QEvent *event)
{
    QWidget::leaveEvent(event);
    pointerCrossedEdge();
}

void TForm1::suspendStealth()
{
    m_stealthSuspended = true;
    Timer1->stop();
    FloatAnimation1->stop();
    FlowLayout1->setOpacity(1);
}

void TForm1::resumeStealth()
{
    m_stealthSuspended = false;
    if (m_settings.isStealth)
        Timer1->start();
    else
        Timer1->stop();
}
