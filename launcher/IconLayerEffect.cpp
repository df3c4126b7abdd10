// SPDX-License-Identifier: MIT
#include "launcher/IconLayerEffect.h"

#include "launcher/GlowImages.h"

#include <QPainter>

#include <cmath>

IconLayerEffect::IconLayerEffect(QObject *parent)
    : QGraphicsEffect(parent)
{
}

void IconLayerEffect::setShadowEnabled(bool on)
{
    if (m_shadow == on)
        return;
    m_shadow = on;
    updateBoundingRect();
    update();
}

void IconLayerEffect::setShadowColor(QColor color)
{
    if (m_color == color)
        return;
    m_color = color;
    update();
}

void IconLayerEffect::setOpacity(qreal opacity)
{
    if (std::isnan(opacity))
        opacity = 1;
    opacity = std::clamp(opacity, 0.0, 1.0);
    if (m_opacity == opacity)
        return;
    m_opacity = opacity;
    update();
}

QPointF IconLayerEffect::shadowOffset()
{
    const qreal d = 3 * M_SQRT1_2;
    return QPointF(d, d);
}

QRectF IconLayerEffect::boundingRectFor(const QRectF &rect) const
{
    if (!m_shadow)
        return rect;
    const QPointF off = shadowOffset();
    const qreal b = kShadowBlur + 1;
    return rect.united(rect.translated(off).adjusted(-b, -b, b, b));
}

void IconLayerEffect::draw(QPainter *painter)
{
    if (m_opacity <= 0)
        return;
    if (!m_shadow && m_opacity >= 1) {
        drawSource(painter);
        return;
    }
    QPoint offset;
    const QPixmap pixmap = sourcePixmap(Qt::DeviceCoordinates, &offset, QGraphicsEffect::PadToEffectiveBoundingRect);
    if (pixmap.isNull())
        return;
    const QTransform saved = painter->worldTransform();
    painter->setWorldTransform(QTransform());
    painter->setOpacity(painter->opacity() * m_opacity);
    if (m_shadow && m_color.alpha() > 0) {
        const qreal dpr = pixmap.devicePixelRatio();
        const int blur = int(std::lround(kShadowBlur * dpr));
        const QImage shadow = softShadow(pixmap.toImage(), m_color, blur);
        const qreal o = painter->opacity();
        painter->setOpacity(o * kShadowOpacity);
        painter->drawImage(QPointF(offset) + shadowOffset() * dpr - QPointF(blur, blur), shadow);
        painter->setOpacity(o);
    }
    painter->drawPixmap(offset, pixmap);
    painter->setWorldTransform(saved);
}
