// SPDX-License-Identifier: MIT
#pragma once

#include <QColor>
#include <QGraphicsEffect>

// The icon layer's look in one effect: a drop shadow under everything the
// layer draws, and the layer's opacity (which stealth mode fades). A widget
// carries one graphics effect only, so both live here.
class IconLayerEffect : public QGraphicsEffect
{
    Q_OBJECT

public:
    explicit IconLayerEffect(QObject *parent = nullptr);

    bool shadowEnabled() const { return m_shadow; }
    void setShadowEnabled(bool on);
    QColor shadowColor() const { return m_color; }
    void setShadowColor(QColor color);

    qreal opacity() const { return m_opacity; }
    void setOpacity(qreal opacity);

    // distance 3 toward 45 degrees (down and to the right)
    static QPointF shadowOffset();
    static constexpr qreal kShadowOpacity = 0.6;
    static constexpr int kShadowBlur = 3;

    QRectF boundingRectFor(const QRectF &rect) const override;

protected:
    void draw(QPainter *painter) override;

private:
    bool m_shadow = true;
    QColor m_color = Qt::black;
    qreal m_opacity = 1;
};
