// SPDX-License-Identifier: MIT
// The context menus' commands: registration, deleting, switching groups,
// the press that moves or resizes the window (WindowMover carries it
// out), saving the settings and ending.
#include "app/Unit1.h"

#include "core/session/Autostart.h"
#include "app/BarMenus.h"
#include "app/DropArea.h"
#include "app/ErrorReport.h"
#include "app/GroupCaption.h"
#include "app/RowScroller.h"
#include "app/WindowMover.h"
#include "launcher/IconLayer.h"
#include "launcher/LaunchButton.h"
#include "core/entries/PathRules.h"

#include <QDialog>
#include <QContextMenuEvent>
#include <QMouseEvent>

void TForm1::connectCommands()
{
    connect(m_menus, &BarMenus::registrationChosen, this, &TForm1::AddMenuClick);
    connect(m_menus, &BarMenus::deleteChosen, this, &TForm1::DelBtnClick);
    connect(m_menus, &BarMenus::editChosen, this, &TForm1::EditCmdClick);
    connect(m_menus, &BarMenus::folderChosen, this, &TForm1::FolderCmdClick);
    connect(m_menus, &BarMenus::settingsChosen, this, &TForm1::SetingClick);
    connect(m_menus, &BarMenus::resizeChosen, this, &TForm1::ReSize2Click);
    connect(m_menus, &BarMenus::startAtLoginChosen, this, &TForm1::StartAtLoginClick);
    connect(m_menus, &BarMenus::groupChosen, this, &TForm1::MenuClick);
    connect(m_menus, &BarMenus::saveChosen, this, &TForm1::SaveMenuClick);
    connect(m_menus, &BarMenus::closeChosen, this, &TForm1::CloseCmdClick);
    // The entry may have been changed or removed outside since.
    connect(m_menus, &BarMenus::barMenuAboutToShow, this, &TForm1::showStartAtLogin);
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
    connect(m_mover, &WindowMover::rightClicked, m_menus, &BarMenus::popupBarMenu);
}

void TForm1::AddMenuClick()
{
    const bool on = !m_menus->isAddMenuChecked();
    m_menus->setRegistrationMarks(on);
    DropTarget1->setVisible(on);
    m_menus->setResizeMode(on);
    if (on)
        return;
    if (!SaveGroup())
        return;
    // A file emptied elsewhere, read again by the save, turned the mode
    // back on.
    if (!m_menus->isAddMenuChecked())
        m_menus->setGroupMenuEnabled(true);
}

void TForm1::clearAddMenuCheck()
{
    m_menus->uncheckAddMenu();
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
    m_grid->scroller()->ensureVisible(m_grid->buttonFor(first + entries.size() - 1));
}

void TForm1::DelBtnClick()
{
    if (!LaunchPath.remove(m_menuIndex, m_grid->rowOf(obj.data())))
        return;
    // A group read again by the save may be in registration mode already.
    if (currentGroup().isEmpty() && !m_menus->isAddMenuChecked())
        AddMenuClick();
}

void TForm1::MenuClick(int group)
{
    if (group < 0 || group >= kGroupCount)
        return;
    m_menus->setGroupChecked(group);
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
    m_menus->setResizeMode(!m_menus->isResizeMode());
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
    m_mover->press(event, m_menus->isResizeMode());
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
            m_menus->popupBarMenu(menu->globalPos());
        return true;
    }
    default:
        return false;
    }
}

bool TForm1::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Hide && watched
        && (watched == m_dialogs.settings || watched == m_dialogs.parameterEditor))
        lookAtHandEditsSoon();
    if (watched == FlowLayout1 || watched == DropTarget1)
        return handleAreaMouse(event);
    return QWidget::eventFilter(watched, event);
}

void TForm1::showStartAtLogin()
{
    m_menus->setStartAtLoginChecked(Autostart::isEnabled(m_autostart.configHome, m_autostart.program));
}

void TForm1::StartAtLoginClick()
{
    QString error;
    const bool ok = Autostart::isEnabled(m_autostart.configHome, m_autostart.program)
                        ? Autostart::disable(m_autostart.configHome, &error)
                        : Autostart::enable(m_autostart.configHome, m_autostart.program, &error);
    showStartAtLogin();
    if (!ok)
        ErrorReport::show(this, error);
}

qsizetype TForm1::buttonIndexAt(const QPoint &pos) const
{
    return m_grid->rowAt(FlowLayout1->mapFrom(this, pos));
}
