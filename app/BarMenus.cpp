// SPDX-License-Identifier: MIT
#include "app/BarMenus.h"

#include "core/groups/GroupFile.h"

#include <QAction>
#include <QActionGroup>
#include <QEvent>
#include <QFile>
#include <QMenu>
#include <QPainterPath>
#include <QRegion>

namespace {

// The menus' style sheet rounds their corners by this much.
constexpr qreal kMenuCornerRadius = 5;

} // namespace

BarMenus::BarMenus(QWidget *bar)
    : QObject(bar)
    , m_bar(bar)
{
    createItems(bar);
    announceChoices();
}

void BarMenus::createItems(QWidget *bar)
{
    // The items are made now, for their shortcuts; the menus that show them
    // at the first opening.
    auto item = [this, bar](const QString &text, QKeySequence shortcut = {}, bool checkable = false) {
        auto *action = new QAction(text, this);
        action->setCheckable(checkable);
        if (!shortcut.isEmpty()) {
            action->setShortcut(shortcut);
            // Shortcuts act while the bar has the focus, menu closed.
            bar->addAction(action);
        }
        return action;
    };

    //: A button's menu: registration mode, where dropped files become entries.
    AddMenu = item(tr("新規追加"), {}, true);
    //: A button's menu: removes the button's entry.
    DelBtn = item(tr("削除"));
    EditCmd = item(tr("パラメータ編集"));
    //: A button's menu: opens the folder that holds the entry's file.
    FolderCmd = item(tr("フォルダを開く"));

    //: Menu item: opens the settings dialog.
    Seting2 = item(tr("設定"), QKeySequence(Qt::Key_F12));
    AddMenu2 = item(tr("新規登録"), QKeySequence(Qt::CTRL | Qt::Key_N), true);
    ReSize2 = item(tr("サイズ変更"), QKeySequence(Qt::CTRL | Qt::Key_R), true);
    StartAtLogin = item(tr("ログイン時に起動"), {}, true);
    groupItems = new QActionGroup(this);
    groupItems->setExclusive(true);
    const Qt::Key keys[kGroupCount] = {Qt::Key_F1, Qt::Key_F2, Qt::Key_F3, Qt::Key_F4, Qt::Key_F5};
    QAction **members[kGroupCount] = {&Menu0, &Menu1, &Menu2, &Menu3, &Menu4};
    for (int n = 0; n < kGroupCount; ++n) {
        *members[n] = item(QStringLiteral("Menu%1").arg(n), QKeySequence(keys[n]), true);
        groupItems->addAction(*members[n]);
    }
    SaveMenu = item(tr("設定保存"));
    //: Menu item: closes the launcher.
    CloseCmd2 = item(tr("終了"), QKeySequence(Qt::CTRL | Qt::Key_X));
}

void BarMenus::makeMenus()
{
    if (PopupMenu1)
        return;
    PopupMenu1 = new QMenu(m_bar);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    //: Screen readers: the context menu of a launch button.
    PopupMenu1->setAccessibleName(tr("ボタンのメニュー"));
    PopupMenu1->addActions({AddMenu, DelBtn, EditCmd, FolderCmd});

    PopupMenu2 = new QMenu(m_bar);
    PopupMenu2->setObjectName(QStringLiteral("PopupMenu2"));
    //: Screen readers: the context menu of the bar.
    PopupMenu2->setAccessibleName(tr("ランチャーのメニュー"));
    PopupMenu2->addActions({Seting2, AddMenu2, ReSize2, StartAtLogin});
    MenuItem5 = PopupMenu2->addSeparator();
    MenuItem6 = PopupMenu2->addMenu(tr("グループ選択"));
    MenuItem6->addActions({Menu0, Menu1, Menu2, Menu3, Menu4});
    MenuItem6->setEnabled(m_groupMenuEnabled);
    MenuItem7 = PopupMenu2->addSeparator();
    PopupMenu2->addActions({SaveMenu, CloseCmd2});

    for (QMenu *menu : {PopupMenu1, PopupMenu2, MenuItem6}) {
        // Round corners need the space around them transparent, or cut
        // away where no compositor can show it.
        menu->setAttribute(Qt::WA_TranslucentBackground);
        menu->setAttribute(Qt::WA_AlwaysShowToolTips);
        menu->installEventFilter(this);
        // Styling loads fonts, which the bar's start need not wait for.
        connect(menu, &QMenu::aboutToShow, this, &BarMenus::style);
    }
    connect(PopupMenu2, &QMenu::aboutToShow, this, &BarMenus::barMenuAboutToShow);
}

void BarMenus::announceChoices()
{
    // These items carry a check mark that only the bar sets: undo the
    // toggle a checkable action makes on its own before the command runs.
    auto codeChecked = [this](QAction *action, void (BarMenus::*chosen)()) {
        connect(action, &QAction::triggered, this, [this, action, chosen] {
            action->setChecked(!action->isChecked());
            Q_EMIT(this->*chosen)();
        });
    };
    codeChecked(AddMenu, &BarMenus::registrationChosen);
    codeChecked(AddMenu2, &BarMenus::registrationChosen);
    codeChecked(ReSize2, &BarMenus::resizeChosen);
    codeChecked(StartAtLogin, &BarMenus::startAtLoginChosen);
    connect(DelBtn, &QAction::triggered, this, &BarMenus::deleteChosen);
    connect(EditCmd, &QAction::triggered, this, &BarMenus::editChosen);
    connect(FolderCmd, &QAction::triggered, this, &BarMenus::folderChosen);
    connect(Seting2, &QAction::triggered, this, &BarMenus::settingsChosen);
    connect(SaveMenu, &QAction::triggered, this, &BarMenus::saveChosen);
    connect(CloseCmd2, &QAction::triggered, this, &BarMenus::closeChosen);
    for (int n = 0; n < kGroupCount; ++n)
        connect(groupItem(n), &QAction::triggered, this, [this, n] { Q_EMIT groupChosen(n); });
}

void BarMenus::popupButtonMenu(const QPoint &globalPos)
{
    makeMenus();
    PopupMenu1->popup(globalPos);
}

void BarMenus::popupBarMenu(const QPoint &globalPos)
{
    makeMenus();
    PopupMenu2->popup(globalPos);
}

QAction *BarMenus::groupItem(int group) const
{
    switch (group) {
    case 0:
        return Menu0;
    case 1:
        return Menu1;
    case 2:
        return Menu2;
    case 3:
        return Menu3;
    case 4:
        return Menu4;
    default:
        return nullptr;
    }
}

void BarMenus::setGroupName(int group, const QString &name)
{
    QAction *item = groupItem(group);
    if (!item)
        return;
    // A menu reads "&" as a mnemonic and a tab as the start of the shortcut
    // column; line breaks would make a two-line item.
    QString caption = name;
    caption.replace(QLatin1Char('&'), QLatin1String("&&"));
    for (const QChar blank : {u'\t', u'\n', u'\r'})
        caption.replace(blank, QLatin1Char(' '));
    item->setText(caption);
}

void BarMenus::setGroupChecked(int group)
{
    if (QAction *item = groupItem(group))
        item->setChecked(true);
}

void BarMenus::setRegistrationMarks(bool on)
{
    AddMenu->setChecked(on);
    AddMenu2->setChecked(on);
    if (on)
        setGroupMenuEnabled(false);
}

void BarMenus::setGroupMenuEnabled(bool on)
{
    m_groupMenuEnabled = on;
    if (MenuItem6)
        MenuItem6->setEnabled(on);
}

bool BarMenus::isAddMenuChecked() const
{
    return AddMenu->isChecked();
}

void BarMenus::uncheckAddMenu()
{
    AddMenu->setChecked(false);
}

bool BarMenus::isResizeMode() const
{
    return ReSize2->isChecked();
}

void BarMenus::setResizeMode(bool on)
{
    ReSize2->setChecked(on);
}

void BarMenus::setStartAtLoginChecked(bool on)
{
    StartAtLogin->setChecked(on);
}

void BarMenus::setCompositorRunning(bool running)
{
    if (m_compositor == running)
        return;
    m_compositor = running;
    if (!PopupMenu1)
        return;
    for (QMenu *menu : {PopupMenu1, PopupMenu2, MenuItem6})
        updateShape(menu);
}

void BarMenus::style()
{
    if (m_styled)
        return;
    m_styled = true;
    QFile style(QStringLiteral(":/menus.qss"));
    const QString sheet = style.open(QIODevice::ReadOnly) ? QString::fromUtf8(style.readAll()) : QString();
    for (QMenu *menu : {PopupMenu1, PopupMenu2, MenuItem6})
        menu->setStyleSheet(sheet);
}

bool BarMenus::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Resize || event->type() == QEvent::Show) {
        if (auto *menu = qobject_cast<QMenu *>(watched))
            updateShape(menu);
    }
    return QObject::eventFilter(watched, event);
}

void BarMenus::updateShape(QMenu *menu)
{
    // As the bar: without a compositor the transparent corners would be black.
    if (m_compositor) {
        menu->clearMask();
        return;
    }
    QPainterPath path;
    path.addRoundedRect(QRectF(menu->rect()), kMenuCornerRadius, kMenuCornerRadius);
    menu->setMask(QRegion(path.toFillPolygon().toPolygon()));
}
