// SPDX-License-Identifier: MIT
#pragma once

class QWidget;

// The dialogs place their controls by pixel for the Japanese texts, which a
// translation may not fit. These widen what a text needs, keep the rest of
// the layout as drawn, and leave a layout whose texts fit exactly as it was.

// The width the text of a label or button has to be drawn in (a label's
// contents, a button's contents beside its indicator or icon), and the width
// its text takes in its font, from its first glyph's ink to its last's; 0 and
// 0 for a widget without a text.
int textRoom(const QWidget *widget);
int textWidth(const QWidget *widget);

// Widens every label and button of `dialog` whose text does not fit, with a
// few pixels of air after a label's, check box's or radio button's. A
// control that grows pushes the controls right of it in its row along by as
// much, keeping the gaps between them; controls that started at one left edge
// stay aligned, and of one left edge and width keep one width; group boxes
// grow to hold their controls with their margins, and the dialog grows to
// hold its group boxes. Call it once the controls are built and styled.
void fitTextsInDialog(QWidget *dialog);
