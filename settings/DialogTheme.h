// SPDX-License-Identifier: MIT
#pragma once

class QWidget;

// Gives a dialog the launcher's dialog theme (resources/dialogs.qss).
void applyDialogTheme(QWidget *dialog);
