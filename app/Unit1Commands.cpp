// SPDX-License-Identifier: MIT
// The context menus' commands: registration, deleting, switching groups,
// moving and resizing the window, saving the settings and ending.
#include "app/Unit1.h"

#include "core/session/Autostart.h"
#include "app/DropArea.h"
#include "app/ErrorReport.h"
#include "launcher/IconLayer.h"
#include "launcher/LaunchButton.h"
#include "core/entries/PathRules.h"
#include "platform/X11Window.h"

#include <QAction>
#include <QActionGroup>
#include <QContextMenuEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QTimer>
#include <QWindow>

namespace {

// A few pixels of jitter during a right click are no drag.
constexpr int kDragThreshold = 3;

} // namespace

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
    // Only a button of the bar itself is dropped here: the bar takes its new
    // place (files from elsewhere go to the drop area).
    FlowLayout1->setAcceptDrops(true);
    DropTarget1->installEventFilter(this);
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
    GroupModel &group = *LaunchPath[MenuIndex];
    QStringList refused;
    QList<TRec> entries;
    const qsizetype at = before >= 0 && before < LaunchBtn.size() ? before : -1;
    const QString beforeLine = group.line(at);
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
    const qsizetype first = at >= 0 ? at : group.size();
    if (entries.isEmpty() || !group.insert(first, entries))
        return;
    QStringList added;
    for (qsizetype i = first; i < first + entries.size(); ++i)
        added.append(group.line(i));
    // Saved at once, so no later load or close can lose it.
    if (at >= 0)
        SaveGroup({GroupEdit::Insert, beforeLine, {}, added});
    else
        SaveGroup({GroupEdit::Append, {}, {}, added});
}

void TForm1::DelBtnClick()
{
    GroupModel &group = *LaunchPath[MenuIndex];
    const qsizetype i = LaunchBtn.indexOf(obj.data());
    const QString line = group.line(i);
    if (!group.remove(i))
        return;
    if (!SaveGroup({GroupEdit::Remove, line, {}, {}}))
        return;
    // A group read again by the save may be in registration mode already.
    if (LaunchPath[MenuIndex]->isEmpty() && !AddMenu->isChecked())
        AddMenuClick();
}

void TForm1::MenuClick(int group)
{
    if (group < 0 || group >= kGroupCount)
        return;
    groupItem(group)->setChecked(true);
    MenuIndex = group;
    removeAllButtons();
    LoadGroup(MenuIndex);
    WriteIniFile();
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
    m_drag.active = true;
    m_drag.resize = ReSize2->isChecked();
    m_drag.moved = false;
    m_drag.button = event->button();
    m_drag.pressGlobal = event->globalPosition().toPoint();
    m_drag.startGeometry = geometry();
    if (m_drag.resize)
        setCursor(Qt::SizeFDiagCursor);
}

void TForm1::followPointer(const QPoint &globalPos)
{
    const QPoint delta = globalPos - m_drag.pressGlobal;
    if (!m_drag.moved) {
        if (delta.manhattanLength() <= kDragThreshold)
            return;
        m_drag.moved = true;
        // The window manager moves and resizes best. It is asked only once
        // the pointer moves, so a mere click never leaves it waiting for a
        // release that has already happened. The right button stays with
        // us so that its release can still open the menu.
        if (m_drag.button == Qt::LeftButton && windowHandle()) {
            if (m_drag.resize)
                unpinSize();
            // Counted from the press, not from here, or the window would
            // trail the pointer by the threshold for the whole drag.
            bool started = X11Window::startSystemMoveFrom(this, m_drag.pressGlobal, m_drag.resize);
            if (!started) {
                started = m_drag.resize ? windowHandle()->startSystemResize(Qt::BottomEdge | Qt::RightEdge)
                                        : windowHandle()->startSystemMove();
            }
            if (started) {
                m_drag.active = false;
                unsetCursor();
                startSystemGesture();
                return;
            }
            pinSize();
        }
    }
    applyDrag(delta);
}

void TForm1::applyDrag(const QPoint &delta)
{
    // What the user asked for is stored, not what the window system made of
    // it (at a fractional scale factor it may come back a pixel off).
    if (m_drag.resize) {
        const QSize size = (m_drag.startGeometry.size() + QSize(delta.x(), delta.y()))
                               .expandedTo(QSize(kMinimumSide, kMinimumSide));
        resizeBar(size);
        m_userGeometry.width = size.width();
        m_userGeometry.height = size.height();
    } else {
        // The compositor of a Wayland session decides where the window is.
        if (X11Window::isWayland())
            return;
        const QPoint pos = m_drag.startGeometry.topLeft() + delta;
        move(pos);
        m_userGeometry.left = pos.x();
        m_userGeometry.top = pos.y();
        m_userMoved = true;
    }
}

void TForm1::startSystemGesture()
{
    m_systemGesture = m_drag.resize ? SystemGesture::Resize : SystemGesture::Move;
    windowHandle()->installEventFilter(this);
    if (!m_gestureTimer) {
        m_gestureTimer = new QTimer(this);
        m_gestureTimer->setInterval(100);
        connect(m_gestureTimer, &QTimer::timeout, this, &TForm1::checkSystemGesture);
    }
    m_gestureReleased = false;
    m_gestureTimer->start();
}

void TForm1::checkSystemGesture()
{
    const std::optional<bool> held = X11Window::pointerButtonDown();
    if (!held) {
        // Only the pointer's return can tell.
        m_gestureTimer->stop();
        return;
    }
    if (*held) {
        m_gestureReleased = false;
        return;
    }
    // The last geometry the window manager sent before the release may not
    // have reached us yet: it ends one tick later.
    if (m_gestureReleased)
        endSystemGesture();
    m_gestureReleased = true;
}

void TForm1::endSystemGesture()
{
    m_systemGesture = SystemGesture::None;
    if (m_gestureTimer)
        m_gestureTimer->stop();
    if (windowHandle())
        windowHandle()->removeEventFilter(this);
    pinSize();
}

bool TForm1::handleAreaMouse(QEvent *event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        FlowLayout1MouseDown(static_cast<QMouseEvent *>(event));
        return true;
    case QEvent::MouseMove:
        if (!m_drag.active)
            return false;
        followPointer(static_cast<QMouseEvent *>(event)->globalPosition().toPoint());
        return true;
    case QEvent::MouseButtonRelease: {
        if (!m_drag.active)
            return false;
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() != m_drag.button)
            return true;
        m_drag.active = false;
        unsetCursor();
        if (m_drag.button == Qt::RightButton && !m_drag.moved)
            PopupMenu2->popup(mouse->globalPosition().toPoint());
        return true;
    }
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
    // Where the button cannot be asked for, a press or a move without a
    // button ends the user's gesture; an Enter does not, as one comes at
    // once, when the pointer passes to the window manager.
    if (watched == windowHandle() && m_systemGesture != SystemGesture::None) {
        const bool pointerBack = event->type() == QEvent::MouseButtonPress
            || (event->type() == QEvent::MouseMove && static_cast<QMouseEvent *>(event)->buttons() == Qt::NoButton);
        if (pointerBack)
            endSystemGesture();
        return false;
    }
    if (watched == FlowLayout1) {
        switch (event->type()) {
        case QEvent::DragEnter:
        case QEvent::DragMove:
        case QEvent::DragLeave:
        case QEvent::Drop:
            return handleArrangeDrag(event);
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
