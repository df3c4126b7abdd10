// SPDX-License-Identifier: MIT
// What screen readers are told: the names of the bar and its parts (the
// menus name themselves), and what each button's entry is.
#include "app/Unit1.h"

#include "app/DropArea.h"
#include "launcher/IconLayer.h"

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
