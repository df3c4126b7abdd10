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
