// SPDX-License-Identifier: MIT
#pragma once

#include <QColor>
#include <QObject>
#include <QPointF>

// The icon layer's look: a drop shadow under its buttons and the layer's
// opacity (which stealth mode fades). The layer paints both itself, so
// neither costs a render of the whole layer on every change.
class IconLayerEffect : public QObject
{
    Q_OBJECT

public:
    explicit IconLayerEffect(QObject *parent = nullptr);

    bool shadowEnabled() const { return m_shadow; }
    void setShadowEnabled(bool on);
    QColor shadowColor() const { return m_color; }
    void setShadowColor(QColor color);

    qreal opacity() const { return m_opacity; }
    void setOpacity(qreal opacity); // kept within 0 to 1; not a number is 1

    // distance 3 toward 45 degrees (down and to the right)
    static QPointF shadowOffset();
    static constexpr qreal kShadowOpacity = 0.6;
    static constexpr int kShadowBlur = 3;

Q_SIGNALS:
    void changed();

private:
    bool m_shadow = true;
    QColor m_color = Qt::black;
    qreal m_opacity = 1;
};
