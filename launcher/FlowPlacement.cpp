// SPDX-License-Identifier: MIT
#include "launcher/FlowPlacement.h"

#include <algorithm>

FlowCursor::FlowCursor(int areaWidth, const FlowSpacing &spacing)
    : m_left(spacing.padding)
    , m_right(areaWidth - spacing.padding)
    , m_gapH(spacing.gapH)
    , m_gapV(spacing.gapV)
    , m_x(spacing.padding)
    , m_y(spacing.padding)
{
}

QRect FlowCursor::place(QSize size)
{
    if (!m_rowEmpty && m_x + size.width() > m_right) {
        m_y += m_rowHeight + m_gapV;
        m_x = m_left;
        m_rowHeight = 0;
    }
    const QRect rect(QPoint(m_x, m_y), size);
    m_x += size.width() + m_gapH;
    m_rowHeight = std::max(m_rowHeight, size.height());
    m_rowEmpty = false;
    return rect;
}

QList<QRect> placeFlow(const QList<QSize> &sizes, int areaWidth, const FlowSpacing &spacing)
{
    QList<QRect> rects;
    rects.reserve(sizes.size());
    FlowCursor cursor(areaWidth, spacing);
    for (const QSize &size : sizes)
        rects.append(cursor.place(size));
    return rects;
}
