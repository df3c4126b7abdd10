// SPDX-License-Identifier: MIT
#pragma once

class QWidget;

// The dialogs place their controls by pixel for the Japanese texts, which a
// translation may not fit.
//
// Widens every label and button of `dialog` whose text does not fit, with a
// few pixels of air after a label's, check box's or radio button's. A
// control that grows pushes the controls right of it in its row along by as
// much, keeping the gaps between them; controls that started at one left edge
// stay aligned, and of one left edge and width keep one width; group boxes
// grow to hold their controls with their margins, and the dialog grows to
// hold its group boxes. Where every text fits, nothing moves. Call it once
// the controls are built and styled.
void fitTextsInDialog(QWidget *dialog);
