// SPDX-License-Identifier: MIT
#pragma once

#include "launcher/GlowImages.h"

#include <QBrush>
#include <QColor>
#include <QPointF>
#include <QWidget>

#include <optional>

// The bar's translucent rounded plate and the shadow it casts into the free
// strip at its right and bottom edges.
class Plate : public QWidget
{
    Q_OBJECT

public:
    explicit Plate(QWidget *parent = nullptr);

    // The plate leaves this strip at the right and bottom for its shadow.
    static constexpr int kShadowStrip = 10;
    static constexpr qreal kCornerRadius = 5;
    QRect plateRect() const;

    qreal opacity() const { return m_opacity; }
    void setOpacity(qreal opacity); // kept within 0 to 1

    void setSolidFill(QColor color);
    // Two colour points at offsets 0 and 1; positions are relative to the
    // plate, (0, 0) its top-left and (1, 1) its bottom-right corner.
    void setGradientFill(QColor start, QColor stop);
    void setGradientPositions(QPointF start, QPointF stop);

    // Without a compositor nothing behind the window shows through: the
    // plate is painted solid and square, and the window's mask rounds it, so
    // no half-covered pixel on its edge turns dark.
    void setOpaque(bool opaque);

    // Small marks at the top and bottom edges: rows of buttons lie scrolled
    // out of sight above or below.
    void setRowsBeyond(bool above, bool below);
    bool rowsAbove() const { return m_rowsAbove; }
    bool rowsBelow() const { return m_rowsBelow; }

    bool isGradient() const { return m_gradient; }
    QColor color0() const { return m_color0; }
    QColor color1() const { return m_color1; }
    QPointF gradientStart() const { return m_start; }
    QPointF gradientStop() const { return m_stop; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QBrush fill(const QRectF &plate) const;
    void paintRowMarks(QPainter &p, const QRectF &plate) const;

    qreal m_opacity = 1;
    bool m_gradient = false;
    bool m_opaque = false;
    QColor m_color0 = Qt::white;
    QColor m_color1 = Qt::white;
    QPointF m_start{0, 0};
    QPointF m_stop{0, 1};
    std::optional<RoundedShadow> m_shadow;
    bool m_rowsAbove = false;
    bool m_rowsBelow = false;
};
