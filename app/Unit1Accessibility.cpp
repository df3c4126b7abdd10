// SPDX-License-Identifier: MIT
// What screen readers are told: the names of the bar and its parts (the
// menus name themselves), and what each button's entry is.
#include "app/Unit1.h"

#include "app/DropArea.h"
#include "core/entries/AccessibleEntry.h"
#include "launcher/IconLayer.h"
#include "launcher/LaunchButton.h"

void TForm1::nameForScreenReaders()
{
    // The window title stays the program's name alone, as taskbars show it.
    //: Screen readers: the launch bar's window.
    setAccessibleName(tr("Quillbrook ランチャー"));
    DropTarget1->setAccessibleName(DropTarget1->text());
    //: Screen readers: what the drop area of registration mode is for.
    DropTarget1->setAccessibleDescription(tr("ここにファイルをドロップすると登録されます"));
}

void TForm1::nameCurrentGroup()
{
    FlowLayout1->setAccessibleName(groupName(m_menuIndex));
}

void TForm1::describeButton(LaunchButton *button, const TRec &entry)
{
    button->setAccessibleName(accessibleEntryName(entry));
    const QString description = accessibleEntryDescription(entry);
    //: %1 is the path of an entry's file.
    button->setAccessibleDescription(button->isFileMissing() ? tr("ファイルが見つかりません: %1").arg(description)
                                                             : description);
}
