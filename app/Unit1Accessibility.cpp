// SPDX-License-Identifier: MIT
// What screen readers are told: the names of the bar, its parts and menus,
// and what each button's entry is.
#include "app/Unit1.h"

#include "app/DropArea.h"
#include "launcher/IconLayer.h"

#include <QMenu>

void TForm1::nameForScreenReaders()
{
    // The window title stays the program's name alone, as taskbars show it.
    //: Screen readers: the launch bar's window.
    setAccessibleName(tr("Quillbrook ランチャー"));
    DropTarget1->setAccessibleName(DropTarget1->text());
    //: Screen readers: what the drop area of registration mode is for.
    DropTarget1->setAccessibleDescription(tr("ここにファイルをドロップすると登録されます"));
    //: Screen readers: the context menu of a launch button.
    PopupMenu1->setAccessibleName(tr("ボタンのメニュー"));
    //: Screen readers: the context menu of the bar.
    PopupMenu2->setAccessibleName(tr("ランチャーのメニュー"));
}

void TForm1::nameCurrentGroup()
{
    FlowLayout1->setAccessibleName(groupName(m_menuIndex));
}
