// SPDX-License-Identifier: MIT
#include "app/Plate.h"

#include "launcher/GlowImages.h"
#include "launcher/IconLayerEffect.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <cmath>

Plate::Plate(QWidget *parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

QRect Plate::plateRect() const
{
    return rect().adjusted(0, 0, -kShadowStrip, -kShadowStrip);
}

void Plate::setOpacity(qreal opacity)
{
    if (std::isnan(opacity))
        opacity = 1;
    m_opacity = std::clamp(opacity, 0.0, 1.0);
    update();
}

void Plate::setSolidFill(QColor color)
{
    m_gradient = false;
    m_color0 = color;
    update();
}

void Plate::setGradientFill(QColor start, QColor stop)
{
    m_gradient = true;
    m_color0 = start;
    m_color1 = stop;
    update();
}

void Plate::setOpaque(bool opaque)
{
    m_opaque = opaque;
    update();
}

void Plate::setGradientPositions(QPointF start, QPointF stop)
{
    m_start = start;
    m_stop = stop;
    update();
}

void Plate::paintEvent(QPaintEvent *)
{
    const QRectF plate = plateRect();
    if (plate.isEmpty())
        return;
    QPainter p(this);
    if (m_opaque) {
        p.fillRect(plate, fill(plate));
        paintRowMarks(p, plate);
        return;
    }
    p.setRenderHint(QPainter::Antialiasing);
    p.setOpacity(m_opacity);

    // The same for every size of the plate.
    if (!m_shadow)
        m_shadow.emplace(kCornerRadius, IconLayerEffect::kShadowBlur, Qt::black);
    p.save();
    p.setOpacity(m_opacity * IconLayerEffect::kShadowOpacity);
    m_shadow->paint(p, QRect((plate.topLeft() + IconLayerEffect::shadowOffset()).toPoint(), plate.size().toSize()));
    p.restore();

    QPainterPath path;
    path.addRoundedRect(plate, kCornerRadius, kCornerRadius);
    p.fillPath(path, fill(plate));
    p.setOpacity(1);
    paintRowMarks(p, plate);
}

void Plate::setRowsBeyond(bool above, bool below)
{
    if (m_rowsAbove == above && m_rowsBelow == below)
        return;
    m_rowsAbove = above;
    m_rowsBelow = below;
    update();
}

void Plate::paintRowMarks(QPainter &p, const QRectF &plate) const
{
    if (!m_rowsAbove && !m_rowsBelow)
        return;
    // A chevron in the margin above or below the rows, dark on a light plate
    // and light on a dark one, faint enough not to draw the eye.
    const QColor base = m_gradient ? (m_stop.y() > 0 ? m_color1 : m_color0) : m_color0;
    const bool light = base.alpha() < 96 || qGray(base.rgb()) > 110;
    const QColor ink = light ? QColor(0x30, 0x38, 0x48, 150) : QColor(255, 255, 255, 170);
    constexpr qreal kHalfWidth = 7;
    constexpr qreal kHeight = 3.5;
    constexpr qreal kFromEdge = 3.5;
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(ink, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    const qreal x = plate.center().x();
    if (m_rowsAbove) {
        const qreal y = plate.top() + kFromEdge;
        p.drawPolyline(QPolygonF({{x - kHalfWidth, y + kHeight}, {x, y}, {x + kHalfWidth, y + kHeight}}));
    }
    if (m_rowsBelow) {
        const qreal y = plate.bottom() - kFromEdge;
        p.drawPolyline(QPolygonF({{x - kHalfWidth, y - kHeight}, {x, y}, {x + kHalfWidth, y - kHeight}}));
    }
    p.restore();
}

QBrush Plate::fill(const QRectF &plate) const
{
    // A translucent colour would show black where no compositor blends it.
    auto solid = [this](QColor c) {
        if (m_opaque)
            c.setAlpha(255);
        return c;
    };
    if (!m_gradient)
        return solid(m_color0);
    QLinearGradient g(plate.left() + m_start.x() * plate.width(), plate.top() + m_start.y() * plate.height(),
                      plate.left() + m_stop.x() * plate.width(), plate.top() + m_stop.y() * plate.height());
    g.setColorAt(0, solid(m_color0));
    g.setColorAt(1, solid(m_color1));
    return g;
}
