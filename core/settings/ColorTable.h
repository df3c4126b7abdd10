// SPDX-License-Identifier: MIT
#pragma once

#include <QRgb>
#include <QString>

#include <array>

// The colours the glow and shadow lists offer: the CSS/SVG colour keywords,
// fully opaque, alphabetical and capitalised ("Aliceblue" ... "Yellowgreen",
// both "Gray" and "Grey"), followed by "Null", transparent black.

struct NamedColor {
    const char *name;
    QRgb value; // ARGB
};

constexpr int kNamedColorCount = 148;
extern const std::array<NamedColor, kNamedColorCount> kNamedColors;

// The first entry holding exactly `value` (alpha included), or -1.
int namedColorIndex(QRgb value);

// The entry's value, or 0 for an index outside the table (nothing selected).
QRgb namedColorValue(int index);

QString namedColorName(int index);
