// SPDX-License-Identifier: MIT
#include "core/layout/FlowPlacement.h"

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <limits>

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

qsizetype nearestSlot(const QList<QRect> &slots, QPoint point)
{
    qsizetype best = -1;
    qint64 bestDistance = std::numeric_limits<qint64>::max();
    for (qsizetype i = 0; i < slots.size(); ++i) {
        const QPoint d = slots[i].center() - point;
        const qint64 distance = qint64(d.x()) * d.x() + qint64(d.y()) * d.y();
        if (distance < bestDistance) {
            best = i;
            bestDistance = distance;
        }
    }
    return best;
}

qsizetype flowNeighbour(const QList<QRect> &rects, qsizetype current, FlowStep step)
{
    const qsizetype last = rects.size() - 1;
    if (current < 0 || current > last)
        return rects.isEmpty() ? -1 : 0;
    switch (step) {
    case FlowStep::Previous:
        return std::max<qsizetype>(current - 1, 0);
    case FlowStep::Next:
        return std::min(current + 1, last);
    case FlowStep::First:
        return 0;
    case FlowStep::Last:
        return last;
    case FlowStep::RowAbove:
    case FlowStep::RowBelow:
        break;
    }
    // Rows are told apart by their tops; the nearest row in the step's
    // direction, and in it the item nearest across.
    const bool up = step == FlowStep::RowAbove;
    const int top = rects[current].top();
    const int centre = rects[current].center().x();
    std::optional<int> row;
    for (const QRect &r : rects) {
        if (up ? r.top() < top : r.top() > top) {
            if (!row || (up ? r.top() > *row : r.top() < *row))
                row = r.top();
        }
    }
    if (!row)
        return current;
    qsizetype best = current;
    int bestDistance = std::numeric_limits<int>::max();
    for (qsizetype i = 0; i <= last; ++i) {
        if (rects[i].top() != *row)
            continue;
        const int distance = std::abs(rects[i].center().x() - centre);
        if (distance < bestDistance) {
            best = i;
            bestDistance = distance;
        }
    }
    return best;
}
