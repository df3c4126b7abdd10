// SPDX-License-Identifier: MIT
#pragma once

#include "core/layout/FlowPlacement.h"

#include <QWidget>

class IconLayerEffect;
class LaunchButton;

// The bar's icon layer: holds the launch buttons in rows that wrap to its
// width, paints them, and carries the layer's shadow and opacity.
class IconLayer : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(qreal opacity READ opacity WRITE setOpacity)

public:
    explicit IconLayer(QWidget *parent = nullptr);

    void addItem(QWidget *item);
    void removeItem(QWidget *item);
    // Takes every item off the layer at once, leaving them shown for the
    // caller to place again or hide: showing a widget again costs more than
    // moving it.
    void takeItems();
    const QList<QWidget *> &items() const { return m_items; }
    // Moves item `from` to place `to`; the items between close up or make room.
    void moveItem(qsizetype from, qsizetype to);
    // The items' places, in order.
    QList<QRect> itemRects() const;

    int horizontalGap() const { return m_spacing.gapH; }
    int verticalGap() const { return m_spacing.gapV; }
    void setHorizontalGap(int gap);
    void setVerticalGap(int gap);
    int padding() const { return m_spacing.padding; }

    qreal opacity() const;
    void setOpacity(qreal opacity);
    IconLayerEffect *shadowEffect() const { return m_effect; }

    // Places the items now rather than at the next resize or show.
    void relayout();

    // The rows stand `offset` pixels higher than placed, so rows beyond the
    // layer's bottom can be brought into it; taking the items off resets it.
    void setScrollOffset(int offset);
    int scrollOffset() const { return m_scrollOffset; }

Q_SIGNALS:
    // A button was painted without its icon.
    void iconsWanted();
    // Items were placed, added or taken off.
    void arranged();

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void paintLayer(QPainter &painter, const QRegion &region);
    // Whether `item` shows more than the sliver a row cut by the layer's
    // edge would leave: a row scrolled out of sight leaves no trace.
    bool inSight(const QWidget *item) const;
    // The still buttons' shadow, blurred once per arrangement of the buttons.
    const QImage &shadowImage();
    void paintTurningShadow(QPainter &painter, const LaunchButton &button);

    QList<QWidget *> m_items;
    FlowSpacing m_spacing;
    FlowCursor m_cursor{0, {}}; // where the next appended item goes
    int m_cursorWidth = -1;     // the width m_cursor was made for
    int m_scrollOffset = 0;
    IconLayerEffect *m_effect;
    QImage m_shadowAlpha; // blurred silhouettes; null when out of date
    QImage m_shadowImage; // the same, tinted
    QRgb m_shadowTint = 0;
    // Buttons left out of the shared shadow while they turn, and the one
    // shadow they are given instead (buttons of a bar share size and radius).
    QList<const LaunchButton *> m_turningButtons;
    QImage m_turningShadow;
    QSize m_turningShadowSize;
    int m_turningShadowRadius = -1;
    QRgb m_turningShadowTint = 0;
};
