// SPDX-License-Identifier: MIT
#pragma once

#include "core/layout/FlowPlacement.h"

class LaunchButton;
class QPoint;

// What a button asks of the bar that holds it. An interface the button calls
// rather than signals: a thousand buttons with a connection or six each
// cost the bar about 1.7 MiB of connection data.
class LaunchButtonHost
{
public:
    // The button was clicked, by the pointer or the keyboard.
    virtual void launchButtonClicked(LaunchButton *button) = 0;
    virtual void launchButtonEntered(LaunchButton *button) = 0;
    virtual void launchButtonMenuRequested(LaunchButton *button, const QPoint &globalPos) = 0;
    // The left button was pressed at `hotSpot` and the pointer moved beyond
    // the drag distance: the button is to be picked up. A click no longer
    // follows.
    virtual void launchButtonDragRequested(LaunchButton *button, const QPoint &hotSpot) = 0;
    // An arrow key, Home, End or Tab asks to move the focus; false where
    // the step leads nowhere.
    virtual bool launchButtonFocusStep(LaunchButton *button, FlowStep step) = 0;
    // The look must be built again (style or screen changed).
    virtual void launchButtonStyleChanged(LaunchButton *button) = 0;

protected:
    ~LaunchButtonHost() = default;
};
