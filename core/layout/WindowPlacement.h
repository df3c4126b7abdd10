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

// Whether `placed` is the stored place and size exactly, not a fitting of
// them onto the screens.
bool isStoredPlace(const StoredGeometry &stored, const QRect &placed);

// Where a window now at `current` goes when the screens change while it
// runs. When it sits away from its stored place only because of the screens
// (`displaced`), or when it no longer lies wholly in a screen's available
// area, it goes where placeOnScreen() puts the stored geometry: onto a
// remaining screen, or back to its stored place once that screen returns.
// Otherwise it stays where it is (the window manager may have had reasons).
QRect placeAfterScreenChange(const StoredGeometry &stored, const QRect &current, bool displaced,
                             const QList<ScreenArea> &screens, QSize minimum);
