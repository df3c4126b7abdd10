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

QList<QRect> placeFlow(const QList<QSize> &sizes, int areaWidth, const FlowSpacing &spacing);
