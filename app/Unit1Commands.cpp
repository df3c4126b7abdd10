// SPDX-License-Identifier: MIT
// The context menus' commands: registration, deleting, switching groups,
// the press that moves or resizes the window (WindowMover carries it
// out), saving the settings and ending.
#include "app/Unit1.h"

#include "core/session/Autostart.h"
#include "app/DropArea.h"
#include "app/ErrorReport.h"
#include "app/GroupCaption.h"
#include "app/RowScroller.h"
#include "app/WindowMover.h"
#include "launcher/IconLayer.h"
#include "launcher/LaunchButton.h"
#include "core/entries/PathRules.h"

#include <QAction>
#include <QDialog>
#include <QActionGroup>
#include <QContextMenuEvent>
#include <QMenu>
#include <QMouseEvent>

void TForm1::connectCommands()
{
    // These items carry a check mark that only the commands set: undo the
    // toggle a checkable action makes on its own before the command runs.
    auto codeChecked = [this](QAction *action, void (TForm1::*command)()) {
        connect(action, &QAction::triggered, this, [this, action, command] {
            action->setChecked(!action->isChecked());
            (this->*command)();
        });
    };
    codeChecked(AddMenu, &TForm1::AddMenuClick);
    codeChecked(AddMenu2, &TForm1::AddMenuClick);
    codeChecked(ReSize2, &TForm1::ReSize2Click);
    codeChecked(StartAtLogin, &TForm1::StartAtLoginClick);
    connect(DelBtn, &QAction::triggered, this, &TForm1::DelBtnClick);
    connect(EditCmd, &QAction::triggered, this, &TForm1::EditCmdClick);
    connect(FolderCmd, &QAction::triggered, this, &TForm1::FolderCmdClick);
    connect(Seting2, &QAction::triggered, this, &TForm1::SetingClick);
    connect(SaveMenu, &QAction::triggered, this, &TForm1::SaveMenuClick);
    connect(CloseCmd2, &QAction::triggered, this, &TForm1::CloseCmdClick);
    for (int n = 0; n < kGroupCount; ++n)
        connect(groupItem(n), &QAction::triggered, this, [this, n] { MenuClick(n); });
    connect(DropTarget1, &DropArea::dropped, this, [this](const QStringList &files, const QPoint &pos) {
        DropTarget1Dropped(files, buttonIndexAt(DropTarget1->mapTo(this, pos)));
    });
    FlowLayout1->installEventFilter(this);
    // A button of the bar itself is dropped here at its new place, and files
    // on a program's button to open with it (registration mode's drops go
    // to the drop area).
    FlowLayout1->setAcceptDrops(true);
    DropTarget1->installEventFilter(this);
    // A right click on the free area opens the bar's menu at its release.
    connect(m_mover, &WindowMover::rightClicked, this, [this](QPoint globalPos) { PopupMenu2->popup(globalPos); });
}

void TForm1::AddMenuClick()
{
    AddMenu->setChecked(!AddMenu->isChecked());
    AddMenu2->setChecked(AddMenu->isChecked());
    DropTarget1->setVisible(AddMenu->isChecked());
    ReSize2->setChecked(AddMenu2->isChecked());
    if (!DropTarget1->isHidden())
        MenuItem6->setEnabled(false);
    if (AddMenu->isChecked())
        return;
    if (!SaveGroup())
        return;
    // A file emptied elsewhere, read again by the save, turned the mode
    // back on.
    if (!AddMenu->isChecked())
        MenuItem6->setEnabled(true);
}

void TForm1::clearAddMenuCheck()
{
    AddMenu->setChecked(false);
}

void TForm1::DropTarget1Dropped(const QStringList &files, qsizetype before)
{
    QStringList refused;
    QList<TRec> entries;
    for (const QString &path : files) {
        // One line per entry: a path with a line break could not be read back.
        if (path.contains(QLatin1Char('\n')) || path.contains(QLatin1Char('\r'))) {
            refused.append(path);
            continue;
        }
        entries.append({path, {}, ExtractFileTitle(path)});
    }
    if (!refused.isEmpty())
        ErrorReport::show(this, tr("%1 は改行を含むため登録できません。").arg(refused.join(tr("、"))));
    if (entries.isEmpty())
        return;
    const qsizetype first = before >= 0 && before < currentGroup().size() ? before : currentGroup().size();
    // Saved at once, so no later load or close can lose it.
    LaunchPath.insert(m_menuIndex, first, entries);
    // The user sees where the new entries went, though past the plate's edge.
    m_grid->scroller()->ensureVisible(LaunchBtn().value(first + entries.size() - 1));
}

void TForm1::DelBtnClick()
{
    if (!LaunchPath.remove(m_menuIndex, m_grid->rowOf(obj.data())))
        return;
    // A group read again by the save may be in registration mode already.
    if (currentGroup().isEmpty() && !AddMenu->isChecked())
        AddMenuClick();
}

void TForm1::MenuClick(int group)
{
    if (group < 0 || group >= kGroupCount)
        return;
    groupItem(group)->setChecked(true);
    m_menuIndex = group;
    removeAllButtons();
    LoadGroup(m_menuIndex);
    showGroupCaption();
    WriteIniFile();
}

void TForm1::showGroupCaption()
{
    QString name = groupName(m_menuIndex).simplified();
    if (name.isEmpty())
        //: Shown at a group switch for a group without a name; %1 is its number, 1 to 5.
        name = tr("グループ %1").arg(m_menuIndex + 1);
    m_groupCaption->showName(name, isRegistrationAreaShown());
}

void TForm1::ReSize2Click()
{
    ReSize2->setChecked(!ReSize2->isChecked());
}

void TForm1::SaveMenuClick()
{
    WriteIniFile();
}

void TForm1::CloseCmdClick()
{
    close();
}

void TForm1::FlowLayout1MouseDown(QMouseEvent *event)
{
    m_mover->press(event, ReSize2->isChecked());
}

bool TForm1::handleAreaMouse(QEvent *event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        FlowLayout1MouseDown(static_cast<QMouseEvent *>(event));
        return true;
    case QEvent::MouseMove:
    case QEvent::MouseButtonRelease:
        return m_mover->dragEvent(static_cast<QMouseEvent *>(event));
    case QEvent::ContextMenu: {
        // A mouse's menu opens at the release above; the keyboard's here.
        const auto *menu = static_cast<QContextMenuEvent *>(event);
        if (menu->reason() != QContextMenuEvent::Mouse)
            PopupMenu2->popup(menu->globalPos());
        return true;
    }
    default:
        return false;
    }
}

bool TForm1::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Hide && watched && (watched == m_settingsDialog || watched == m_parameterEditor))
        lookAtHandEditsSoon();
    if (watched == FlowLayout1) {
        switch (event->type()) {
        case QEvent::DragEnter:
        case QEvent::DragMove:
        case QEvent::DragLeave:
        case QEvent::Drop:
            // Only one drag runs at a time: a button being arranged, or
            // files from elsewhere to open with a button's program.
            return m_arrange.button ? handleArrangeDrag(event) : handleOpenDrag(event);
        default:
            break;
        }
    }
    if (watched == FlowLayout1 || watched == DropTarget1)
        return handleAreaMouse(event);
    if (auto *menu = qobject_cast<QMenu *>(watched);
        menu && (event->type() == QEvent::Resize || event->type() == QEvent::Show))
        updateMenuShape(menu);
    return QWidget::eventFilter(watched, event);
}

void TForm1::showStartAtLogin()
{
    StartAtLogin->setChecked(Autostart::isEnabled(autostartConfigHome, autostartProgram));
}

void TForm1::StartAtLoginClick()
{
    QString error;
    const bool ok = Autostart::isEnabled(autostartConfigHome, autostartProgram)
                        ? Autostart::disable(autostartConfigHome, &error)
                        : Autostart::enable(autostartConfigHome, autostartProgram, &error);
    showStartAtLogin();
    if (!ok)
        ErrorReport::show(this, error);
}
