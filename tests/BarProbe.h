// SPDX-License-Identifier: MIT
#pragma once

// Where a test must look inside the bar, it looks through here, so a change
// inside the bar breaks this file rather than every test.
#include "app/StealthMode.h"
#include "app/Unit1.h"

#include <QPropertyAnimation>
#include <QTimer>

struct BarProbe {
    // Stealth mode's 500 ms tick and its fade of FlowLayout1.
    static QTimer *Timer1(const TForm1 &bar) { return bar.m_stealth->Timer1; }
    static QPropertyAnimation *FloatAnimation1(const TForm1 &bar) { return bar.m_stealth->FloatAnimation1; }
    // One tick, now.
    static void Timer1Timer(TForm1 &bar) { bar.m_stealth->Timer1Timer(); }
    // Where the tick learns of the pointer; a null function leaves it none.
    static void setPointerPosition(TForm1 &bar, StealthMode::PointerFunction pointer)
    {
        bar.m_stealth->pointerPosition = std::move(pointer);
    }
};
