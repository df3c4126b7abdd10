// SPDX-License-Identifier: MIT
#pragma once

#include <QList>
#include <QRect>
#include <QSize>

// Where a wrapping row layout puts its items: left to right from the padded
// area's left edge, a horizontal gap between neighbours; an item that would
// reach past the right edge starts a new row unless it is the first of its
// row (a too-wide item stands alone); rows are stacked downward, each as tall
// as its tallest item, the vertical gap between rows.
struct FlowSpacing {
    int padding = 4;
    int gapH = 2;
    int gapV = 2;
};

// Places items one after another, so that appending costs no more than
// placing the one new item.
class FlowCursor
{
public:
    FlowCursor(int areaWidth, const FlowSpacing &spacing);
    QRect place(QSize size);

private:
    int m_left, m_right, m_gapH, m_gapV;
    int m_x, m_y;
    int m_rowHeight = 0;
    bool m_rowEmpty = true;
};

QList<QRect> placeFlow(const QList<QSize> &sizes, int areaWidth, const FlowSpacing &spacing);

// The slot an item dropped at `point` lands in: the one whose centre is
// nearest. -1 when there is none.
qsizetype nearestSlot(const QList<QRect> &slots, QPoint point);

// Steps of the keyboard focus over placed items: along the reading order,
// to the nearest item of the row above or below, to the first or last.
enum class FlowStep { Previous, Next, RowAbove, RowBelow, First, Last };

// The item `step` leads to from item `current` of `rects` (in placing
// order); `current` itself where there is nowhere to go.
qsizetype flowNeighbour(const QList<QRect> &rects, qsizetype current, FlowStep step);
