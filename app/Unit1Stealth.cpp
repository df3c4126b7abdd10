// SPDX-License-Identifier: MIT
// Stealth mode: the buttons fade out while the pointer is away from the bar
// and come back at once when it returns.
#include "app/Unit1.h"

#include "launcher/IconLayer.h"

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
        return;
    }
    const qreal opacity = FlowLayout1->opacity();
    // Once per departure: a fade under way or finished is left alone.
    if (!(opacity <= 0.95)) {
        FloatAnimation1->setStartValue(1.0);
        FloatAnimation1->setEndValue(0.0);
        FloatAnimation1->setDuration(400);
        FloatAnimation1->start();
    }
}

void TForm1::suspendStealth()
{
    Timer1->stop();
    FloatAnimation1->stop();
    FlowLayout1->setOpacity(1);
}

void TForm1::resumeStealth()
{
    if (isStealth)
        Timer1->start();
    else
        Timer1->stop();
}
