// SPDX-License-Identifier: MIT
// The commands that open the two dialogs.
#include "app/Unit1.h"

#include "app/Forms.h"
#include "launcher/LaunchButton.h"
#include "editor/Unit3.h"
#include "settings/Unit2.h"

#include <QLabel>
#include <QLineEdit>

void TForm1::SetingClick()
{
    if (!Form2)
        return;
    // Already open: only bring it to the front, nothing is reloaded.
    if (Form2->isVisible()) {
        Form2->raise();
        Form2->activateWindow();
        return;
    }
    Form2->show();
}

void TForm1::EditCmdClick()
{
    selectIndex = LaunchBtn.indexOf(obj.data());
    if (selectIndex < 0 || !Form3 || selectIndex >= LaunchPath[MenuIndex].size())
        return;
    Form3->ensureControls();
    // A line that splits into fewer fields shows the missing ones empty.
    const QStringList fields = splitEntryLine(LaunchPath[MenuIndex].at(selectIndex));
    Form3->FileName->setText(fields.value(0));
    Form3->ParamEdit->setText(fields.value(1));
    Form3->HintEdit->setText(fields.value(2));
    Form3->exec();
}
