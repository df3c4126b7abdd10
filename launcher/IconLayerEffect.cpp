// SPDX-License-Identifier: MIT
#include "launcher/IconLayerEffect.h"

#include <cmath>

IconLayerEffect::IconLayerEffect(QObject *parent)
    : QObject(parent)
{
}

void IconLayerEffect::setShadowEnabled(bool on)
{
    if (m_shadow == on)
        return;
    m_shadow = on;
    Q_EMIT changed();
}

void IconLayerEffect::setShadowColor(QColor color)
{
    if (m_color == color)
        return;
    m_color = color;
    Q_EMIT changed();
}

void IconLayerEffect::setOpacity(qreal opacity)
{
    if (std::isnan(opacity))
        opacity = 1;
    opacity = std::clamp(opacity, 0.0, 1.0);
    if (m_opacity == opacity)
        return;
    m_opacity = opacity;
    Q_EMIT changed();
}

QPointF IconLayerEffect::shadowOffset()
{
    const qreal d = 3 * M_SQRT1_2;
    return QPointF(d, d);
}
