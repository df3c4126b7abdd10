// SPDX-License-Identifier: MIT
#include "launcher/FlowPlacement.h"

#include <algorithm>

QList<QRect> placeFlow(const QList<QSize> &sizes, int areaWidth, const FlowSpacing &spacing)
{
    QList<QRect> rects;
    rects.reserve(sizes.size());
    const int left = spacing.padding;
    const int right = areaWidth - spacing.padding;
    int x = left;
    int y = spacing.padding;
    int rowHeight = 0;
    bool rowEmpty = true;
    for (const QSize &size : sizes) {
        if (!rowEmpty && x + size.width() > right) {
            y += rowHeight + spacing.gapV;
            x = left;
            rowHeight = 0;
        }
        rects.append(QRect(QPoint(x, y), size));
        x += size.width() + spacing.gapH;
        rowHeight = std::max(rowHeight, size.height());
        rowEmpty = false;
    }
    return rects;
}
