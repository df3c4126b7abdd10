// SPDX-License-Identifier: MIT
#pragma once

// Gives the pages the heap has freed back to the system. The start parses
// an icon theme's index and decodes pictures, and what it frees would
// otherwise stay resident for as long as the bar runs.
void releaseFreedMemory();
