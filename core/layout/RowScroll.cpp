// SPDX-License-Identifier: MIT
#include "core/layout/RowScroll.h"

#include <algorithm>

RowScroll::RowScroll(const QList<QRect> &rects, int viewHeight, int padding)
    : m_viewHeight(std::max(viewHeight, 0))
    , m_padding(std::max(padding, 0))
{
    int bottom = 0;
    for (const QRect &rect : rects)
        bottom = std::max(bottom, rect.bottom() + 1 + m_padding);
    m_limit = std::max(0, bottom - m_viewHeight);
    m_stops.reserve(rects.size() + 2);
    m_stops.append(0);
    // Items of one row share their top; a row's stop is its top.
    for (const QRect &rect : rects)
        m_stops.append(std::clamp(rect.top() - m_padding, 0, m_limit));
    m_stops.append(m_limit);
    std::sort(m_stops.begin(), m_stops.end());
    m_stops.erase(std::unique(m_stops.begin(), m_stops.end()), m_stops.end());
}

int RowScroll::clamp(int offset) const
{
    return std::clamp(offset, 0, m_limit);
}

int RowScroll::stepped(int offset, int notches) const
{
    offset = clamp(offset);
    for (; notches > 0; --notches) {
        const auto next = std::upper_bound(m_stops.cbegin(), m_stops.cend(), offset);
        if (next == m_stops.cend())
            break;
        offset = *next;
    }
    for (; notches < 0; ++notches) {
        const auto next = std::lower_bound(m_stops.cbegin(), m_stops.cend(), offset);
        if (next == m_stops.cbegin())
            break;
        offset = *std::prev(next);
    }
    return offset;
}

int RowScroll::showing(int offset, const QRect &item) const
{
    offset = clamp(offset);
    const int top = item.top() - m_padding;
    const int bottom = item.bottom() + 1 + m_padding;
    if (top < offset || bottom - top > m_viewHeight)
        return clamp(top);
    if (bottom > offset + m_viewHeight)
        return clamp(bottom - m_viewHeight);
    return offset;
}
