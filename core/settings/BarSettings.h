// SPDX-License-Identifier: MIT
#pragma once

#include "core/groups/GroupFile.h"
#include "core/settings/SummonKey.h"

#include <QRgb>
#include <QString>

#include <array>
#include <cstdint>
#include <utility>

class IniFile;

// The bar's appearance and modes, as the settings file stores them: one
// value the bar owns and the settings dialog edits a copy of. The fields
// keep the design's names (docs/NAMES.md). A default-made value is all
// zeros; read() of an empty file gives the defaults.
struct BarSettings {
    int32_t bw2 = 0, bc2 = 0;    // icon size and corner radius as last chosen (the buttons' own: TForm1::bw, bc)
    int32_t pad = 0;             // padding around the icon inside a button
    int32_t GlowNo = 0;          // hover effect, 0 (none) to 5; others show none but are kept
    QRgb GlowColor = 0;          // colour of the glow hover effects
    bool FShowhint = false;      // buttons show their hint as a tooltip
    bool isStealth = false;      // stealth mode: buttons fade while the pointer is away
    bool isTop = false;          // the bar stays above other windows
    bool isShowTaskBar = false;  // the bar has a taskbar button (read at start)
    QRgb color0 = 0, color1 = 0; // plate colour, or the gradient's start and end
    bool isGradient = false;     // the plate is filled with a gradient
    int32_t Direction = 0;       // gradient: 0 vertical, 1 horizontal, 2 diagonal
    int32_t horizontalGap = 0, verticalGap = 0; // between the buttons
    bool shadowEnabled = false;                 // the buttons cast a drop shadow
    QRgb shadowColor = 0;
    float opacity = 0;                           // the plate's, single precision as stored
    std::array<QString, kGroupCount> groupNames; // as the user wrote them
    SummonKey summonKey;                         // in a section of its own, see SummonKey

    // The settings dialog's ranges for the icon size and corner radius.
    static constexpr std::pair<int32_t, int32_t> kIconSideRange{16, 100};
    static constexpr std::pair<int32_t, int32_t> kCornerRange{0, 100};
    // Gaps far outside anything sensible would overflow the layout's arithmetic.
    static constexpr int32_t kMaxGap = 10000;

    // Missing keys give their defaults; a group name only the default gives
    // follows the interface language, one in the file stays as written.
    static BarSettings read(const IniFile &ini);
    // Sets every key of ours, in the key table's order. The current group is
    // the bar's, not a setting, but its key sits among ours.
    void write(IniFile &ini, int32_t menuIndex) const;
    // Icon size and corner radius into the dialog's ranges, gaps and opacity
    // to what the bar can show: the same file always gives the same bar and
    // the same next write, the dialog opened or not.
    void keepInRange();

    bool operator==(const BarSettings &) const = default;
};
