// SPDX-License-Identifier: MIT
#pragma once

#include <QList>
#include <QRect>
#include <QSize>

#include <utility>

// Where a wrapping row layout puts items of one size (slots): left to right
// from the padded area's left edge, a horizontal gap between neighbours; a
// slot that would reach past the right edge starts a new row, but the first
// of a row always stands (a too-wide slot stands alone); rows are stacked
// downward, the vertical gap between them. A slot's place follows from its
// index alone, so a grid of thousands costs nothing to place.
struct FlowSpacing {
    int padding = 4;
    int gapH = 2;
    int gapV = 2;
};

class SlotGrid
{
public:
    SlotGrid(qsizetype count, QSize size, int areaWidth, const FlowSpacing &spacing);

    int columns() const { return m_columns; }
    qsizetype rows() const;
    QRect rect(qsizetype slot) const;
    QList<QRect> rects() const;
    // The first and last slot of the rows any part of which lies between
    // `top` and `top + height`, and `margin` rows either side; the last is
    // below the first when there are none.
    std::pair<qsizetype, qsizetype> slotsShowing(qint64 top, int height, int margin) const;

private:
    qsizetype m_count;
    QSize m_size;
    FlowSpacing m_spacing;
    int m_columns;
};

// The slot an item dropped at `point` lands in: the one whose centre is
// nearest. -1 when there is none.
qsizetype nearestSlot(const QList<QRect> &slots, QPoint point);

// Steps of the keyboard focus over placed items: along the reading order,
// to the nearest item of the row above or below, to the first or last.
enum class FlowStep { Previous, Next, RowAbove, RowBelow, First, Last };

// The item `step` leads to from item `current` of `rects` (in placing
// order); `current` itself where there is nowhere to go.
qsizetype flowNeighbour(const QList<QRect> &rects, qsizetype current, FlowStep step);
