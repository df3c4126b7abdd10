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
