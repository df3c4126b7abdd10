// SPDX-License-Identifier: MIT
#pragma once

#include <QColor>
#include <QImage>
#include <QSize>

class QPainter;
class QRect;

// Soft shapes for the bar's shadows and the buttons' glows. Each result is
// cached, since the same few sizes and colours are drawn over and over.

// Blurs an 8-bit alpha image in place; three box passes approximate a
// Gaussian of about `radius` pixels.
void blurAlpha(QImage &alpha8, int radius);

// An 8-bit alpha image as `color` with that alpha.
QImage tintedAlpha(const QImage &alpha8, QColor color);

// The blurred silhouette of `source`'s alpha, tinted `color`, grown by
// `radius` on every side.
QImage softShadow(const QImage &source, QColor color, int radius);

// A black rounded rectangle filling an image of `size`, antialiased.
QImage roundedShape(QSize size, qreal radius);

// The soft shadow of a rounded rectangle of any size, painted from the
// shadow of a small one: along the straight edges the shadow is the same
// all the way, so those pixels are stretched rather than blurred and kept.
class RoundedShadow
{
public:
    RoundedShadow(qreal cornerRadius, int blur, QColor color);
    // The shadow of the rectangle at `shape`, which starts on whole pixels,
    // grown by the blur on every side.
    void paint(QPainter &painter, const QRect &shape) const;

private:
    qreal m_cornerRadius;
    int m_blur;
    QColor m_color;
    int m_side; // the small rectangle's width and height
    QImage m_small;
};

// A halo around a rounded rectangle of `size` and corner `cornerRadius`,
// `spread` pixels wide on every side (the image is size + 2 * spread).
QImage outerGlowImage(QSize size, qreal cornerRadius, QColor color, int spread);

// A glow inside the rounded rectangle's edges, fading toward its middle.
QImage innerGlowImage(QSize size, qreal cornerRadius, QColor color, int spread);
