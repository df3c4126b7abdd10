// SPDX-License-Identifier: MIT
#include "core/layout/WindowPlacement.h"

#include <algorithm>

namespace {

// Lengths in 64 bits: a stored edge plus a stored size can pass INT_MAX.
int64_t overlap(int64_t start, int64_t length, int64_t areaStart, int64_t areaLength)
{
    return std::max<int64_t>(0, std::min(start + length, areaStart + areaLength) - std::max(start, areaStart));
}

int fitSide(int32_t stored, int minimum, int available)
{
    return int(std::clamp<int64_t>(stored, minimum, std::max(minimum, available)));
}

// The start of a span of `length` moved as little as needed into the area;
// too long a span starts at the area's start.
int fitStart(int32_t stored, int length, int areaStart, int areaLength)
{
    const int64_t last = int64_t(areaStart) + areaLength - length;
    return int(std::clamp<int64_t>(stored, areaStart, std::max<int64_t>(areaStart, last)));
}

} // namespace

QRect placeOnScreen(const StoredGeometry &stored, const QList<ScreenArea> &screens, QSize minimum)
{
    const QList<ScreenArea> areas = screens.isEmpty() ? QList<ScreenArea>{{QRect(0, 0, 0, 0), QRect(0, 0, 0, 0)}}
                                                      : screens;
    const int64_t width = std::max<int64_t>(stored.width, minimum.width());
    const int64_t height = std::max<int64_t>(stored.height, minimum.height());
    const ScreenArea *chosen = nullptr;
    for (const ScreenArea &area : areas) {
        if (area.geometry.contains(QPoint(stored.left, stored.top))) {
            chosen = &area;
            break;
        }
    }
    if (!chosen) {
        int64_t best = 0;
        for (const ScreenArea &area : areas) {
            const QRect &g = area.geometry;
            const int64_t shared = overlap(stored.left, width, g.left(), g.width())
                                   * overlap(stored.top, height, g.top(), g.height());
            if (shared > best) {
                best = shared;
                chosen = &area;
            }
        }
    }
    if (!chosen)
        chosen = &areas.first();

    const QSize size(fitSide(stored.width, minimum.width(), chosen->available.width()),
                     fitSide(stored.height, minimum.height(), chosen->available.height()));
    const QRect &area = chosen->available;
    return QRect(fitStart(stored.left, size.width(), area.left(), area.width()),
                 fitStart(stored.top, size.height(), area.top(), area.height()), size.width(), size.height());
}

bool isStoredPlace(const StoredGeometry &stored, const QRect &placed)
{
    return placed.left() == stored.left && placed.top() == stored.top && placed.width() == stored.width
           && placed.height() == stored.height;
}

QRect placeAfterScreenChange(const StoredGeometry &stored, const QRect &current, bool displaced,
                             const QList<ScreenArea> &screens, QSize minimum)
{
    const bool seen = std::any_of(screens.begin(), screens.end(),
                                  [&current](const ScreenArea &area) { return area.available.contains(current); });
    if (!displaced && seen)
        return current;
    return placeOnScreen(stored, screens, minimum);
}
