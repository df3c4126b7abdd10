// SPDX-License-Identifier: MIT
#pragma once

#include "core/layout/FlowPlacement.h"

#include <QWidget>

class IconLayerEffect;
class LaunchButton;

// The bar's icon layer: places of one size in rows that wrap to its width
// (slots), each empty or holding an item; paints the items and carries the
// layer's shadow and opacity. A grid of thousands of entries keeps items
// only in the slots in sight.
class IconLayer : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(qreal opacity READ opacity WRITE setOpacity)

public:
    explicit IconLayer(QWidget *parent = nullptr);

    // `count` empty slots of `size`. The items that stood in slots are
    // taken off still shown, for the caller to place again or hide: showing
    // a widget again costs more than moving it.
    void resetSlots(qsizetype count, QSize size);
    qsizetype slotCount() const { return m_items.size(); }
    QSize slotSize() const { return m_slotSize; }
    // Puts `item` in an empty `slot` and shows it.
    void setItem(qsizetype slot, QWidget *item);
    // Empties `slot`; its item is left shown where it stands.
    QWidget *takeItem(qsizetype slot);
    // A new slot at the end holding `item`; the first item gives the slots
    // their size.
    void addItem(QWidget *item);
    // `count` empty slots before `slot`; the slots from there on move up.
    void insertSlots(qsizetype slot, qsizetype count);
    // The slots from `slot` on close up; the items of those removed hide.
    void removeSlots(qsizetype slot, qsizetype count);
    // One per slot, null for an empty one.
    const QList<QWidget *> &items() const { return m_items; }
    // Moves slot `from`, with its item, to place `to`; the slots between
    // close up or make room.
    void moveItem(qsizetype from, qsizetype to);
    // The slots' places with the rows unscrolled.
    SlotGrid grid() const;
    // Where `slot` stands, with the rows as scrolled.
    QRect slotRect(qsizetype slot) const;
    // Every slot's place, in order, as scrolled.
    QList<QRect> itemRects() const;
    // The slot whose place holds `pos`; -1 for none.
    qsizetype slotAt(QPoint pos) const;
    // The first and last slot of the rows in sight and `margin` rows either
    // side; the last is below the first when there are none.
    std::pair<qsizetype, qsizetype> slotsInSight(int margin) const;

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
    // Other rows may be in sight: the rows scrolled, or the layer's width,
    // height or gaps changed.
    void sightChanged();

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

    void place(qsizetype slot);

    QList<QWidget *> m_items;
    QSize m_slotSize;
    FlowSpacing m_spacing;
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
