// SPDX-License-Identifier: MIT
#pragma once

#include <QList>
#include <QRect>

// Scrolling wrapping rows taller than the view that shows them. Made from
// the shown items' places as if unscrolled, the view's height and the
// padding the rows keep from its edges. An offset is how far the rows have
// moved up: 0 shows the first row at the top, limit() the last row at the
// bottom.
class RowScroll
{
public:
    RowScroll(const QList<QRect> &rects, int viewHeight, int padding);

    int limit() const { return m_limit; }
    int clamp(int offset) const;
    // `notches` rows on from `offset` (back, when negative): a row's top
    // then stands where the first row's does unscrolled, or the end is
    // reached.
    int stepped(int offset, int notches) const;
    // The offset nearest to `offset` that shows the whole of `item` (its top,
    // when it is taller than the view).
    int showing(int offset, const QRect &item) const;

private:
    QList<int> m_stops; // ascending: 0, each row's top less the padding, the limit
    int m_limit = 0;
    int m_viewHeight;
    int m_padding;
};
