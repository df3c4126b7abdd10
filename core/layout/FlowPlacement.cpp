// SPDX-License-Identifier: MIT
#include "core/layout/FlowPlacement.h"

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <limits>

SlotGrid::SlotGrid(qsizetype count, QSize size, int areaWidth, const FlowSpacing &spacing)
    : m_count(std::max<qsizetype>(count, 0))
    , m_size(size)
    , m_spacing(spacing)
{
    const int step = size.width() + spacing.gapH;
    const int room = areaWidth - 2 * spacing.padding - size.width();
    if (step <= 0) // slots that never reach the edge: one row
        m_columns = int(std::clamp<qsizetype>(m_count, 1, std::numeric_limits<int>::max()));
    else
        m_columns = room < 0 ? 1 : 1 + room / step;
}

qsizetype SlotGrid::rows() const
{
    return (m_count + m_columns - 1) / m_columns;
}

QRect SlotGrid::rect(qsizetype slot) const
{
    const qint64 row = slot / m_columns;
    const qint64 column = slot % m_columns;
    const qint64 x = m_spacing.padding + column * (m_size.width() + m_spacing.gapH);
    const qint64 y = m_spacing.padding + row * (m_size.height() + m_spacing.gapV);
    // Far beyond any screen, but still a rectangle Qt can move and compare.
    constexpr qint64 kFar = std::numeric_limits<int>::max() / 2;
    return {QPoint(int(std::clamp(x, -kFar, kFar)), int(std::clamp(y, -kFar, kFar))), m_size};
}

QList<QRect> SlotGrid::rects() const
{
    QList<QRect> rects;
    rects.reserve(m_count);
    for (qsizetype slot = 0; slot < m_count; ++slot)
        rects.append(rect(slot));
    return rects;
}

std::pair<qsizetype, qsizetype> SlotGrid::slotsShowing(qint64 top, int height, int margin) const
{
    const qsizetype rows = this->rows();
    const qint64 rowStep = m_size.height() + m_spacing.gapV;
    if (rows == 0)
        return {0, -1};
    if (rowStep <= 0) // rows that do not move down: all of them show
        return {0, m_count - 1};
    const auto floorDiv = [](qint64 a, qint64 b) { return a >= 0 ? a / b : -((-a + b - 1) / b); };
    const qint64 above = top - m_spacing.padding; // from the first row's top
    const qint64 firstRow = floorDiv(above - m_size.height(), rowStep) + 1 - margin;
    const qint64 lastRow = floorDiv(above + height - 1, rowStep) + margin;
    const qint64 from = std::max<qint64>(firstRow, 0);
    const qint64 to = std::min<qint64>(lastRow, rows - 1);
    if (to < from)
        return {0, -1};
    return {from * m_columns, std::min<qint64>((to + 1) * m_columns, m_count) - 1};
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
