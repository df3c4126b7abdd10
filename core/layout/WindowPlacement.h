// SPDX-License-Identifier: MIT
#pragma once

#include <QList>
#include <QRect>
#include <QSize>

#include <cstdint>

// The bar's place and size as the settings file holds them: any 32-bit
// values, which a QRect could not always hold (its right edge would
// overflow).
struct StoredGeometry {
    int32_t left = 0, top = 0, width = 0, height = 0;
    bool operator==(const StoredGeometry &) const = default;
};

struct ScreenArea {
    QRect geometry;  // the whole screen
    QRect available; // less the panels and docks
};

// Where a window stored as `stored` opens so that all of it can be seen. Its
// screen is the one holding the stored top-left corner, else the one the
// stored rectangle overlaps most, else the first (the primary). Its size is
// the stored one, at least `minimum` and otherwise at most that screen's
// available area; it is then moved as little as needed to lie wholly in that
// area, clear of panels and docks (its top-left corner stays in the area when
// even `minimum` does not fit). No screens at all count as one empty screen
// at 0,0.
QRect placeOnScreen(const StoredGeometry &stored, const QList<ScreenArea> &screens, QSize minimum);
