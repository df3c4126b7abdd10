// SPDX-License-Identifier: MIT
#pragma once

class QScreen;
class QWidget;

// Gives a dialog the launcher's dialog theme (resources/dialogs.qss).
void applyDialogTheme(QWidget *dialog);

// Centres a dialog, frame included, on the screen; the same place at every
// opening.
void centreOnScreen(QWidget *dialog, const QScreen *screen);
