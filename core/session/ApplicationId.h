// SPDX-License-Identifier: MIT
#pragma once

// The reverse-DNS name the desktop knows the launcher by: the installed
// desktop entry, icon and metainfo file, and the autostart entry, are all
// named after it (CMakeLists.txt spells it once more for the installed files).
inline constexpr char kApplicationId[] = "org.quillbrook.Quillbrook";
