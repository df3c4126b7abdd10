// SPDX-License-Identifier: MIT
#include "app/Unit1.h"

#include "app/DropArea.h"
#include "app/GroupCaption.h"
#include "app/Plate.h"
#include "app/RowScroller.h"
#include "app/StealthMode.h"
#include "app/WindowMover.h"
#include "launcher/IconLayer.h"
#include "launcher/IconLayerEffect.h"
#include "launcher/IconQueue.h"
#include "launcher/LaunchButton.h"
#include "platform/CompositorWatch.h"
#include "platform/Opener.h"
#include "platform/SwayPlacement.h"
#include "platform/X11Window.h"

#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QFile>
#include <QGuiApplication>
#include <QMenu>
#include <QScreen>
#include <QShowEvent>
#include <QStandardPaths>
#include <QThreadPool>
#include <QTimer>

#include "app/ErrorReport.h"

namespace {

// Margins of the components inside the window: left, top, right, bottom.
constexpr QMargins kFlowMargins(10, 10, 20, 20);
constexpr QMargins kDropMargins(5, 5, 15, 15);
constexpr QSize kDesignSize(836, 225);

} // namespace

TForm1::TForm1(const QString &home, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint)
    // Made once here, so no one can put another model in a group's place.
    , LaunchPath(*new GroupSet(home, this))
    , HomePath(home)
    , autostartConfigHome(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation))
    , autostartProgram(QCoreApplication::applicationFilePath())
{
    connect(&LaunchPath, &GroupSet::changed, this, &TForm1::groupChanged);
    connect(&LaunchPath, &GroupSet::saveFailed, this, &TForm1::groupSaveFailed);
    // A home folder made by a save can be watched now.
    connect(&LaunchPath, &GroupSet::saved, this, [this] {
        if (createHomeOnSave)
            watchFiles();
    });
    createComponents();
    createTypeFilter();
    FormCreate();
}

TForm1::~TForm1()
{
    finishLaunches();
}

void TForm1::setCreateHomeOnSave(bool on)
{
    createHomeOnSave = on;
    LaunchPath.setCreateFolder(on);
}

void TForm1::setOpener(OpenFunction open)
{
    opener = std::move(open);
}

void TForm1::setAutostartTarget(const QString &configHome, const QString &program)
{
    autostartConfigHome = configHome;
    autostartProgram = program;
}

void TForm1::setDialogs(QWidget *settingsDialog, QDialog *parameterEditor)
{
    m_settingsDialog = settingsDialog;
    m_parameterEditor = parameterEditor;
    // A hand edit held back while one was open is read at its closing.
    for (QWidget *dialog : {settingsDialog, static_cast<QWidget *>(parameterEditor)}) {
        if (dialog)
            dialog->installEventFilter(this);
    }
}

void TForm1::createComponents()
{
    // The library's resources are linked statically and must be registered.
    Q_INIT_RESOURCE(resources);
    m_mover = new WindowMover(this, kMinimumSide);
    // The user's own moves and resizes are what the settings file keeps.
    connect(m_mover, &WindowMover::userMoved, this, [this](QPoint topLeft) {
        m_userGeometry.left = topLeft.x();
        m_userGeometry.top = topLeft.y();
        m_userMoved = true;
    });
    connect(m_mover, &WindowMover::userResized, this, [this](QSize size) {
        m_userGeometry.width = size.width();
        m_userGeometry.height = size.height();
    });

    setWindowTitle(QStringLiteral("Quillbrook"));
    setObjectName(QStringLiteral("Form1"));
    // Translucency must be chosen before the native window exists.
    setAttribute(Qt::WA_TranslucentBackground);
    // A launcher is seldom the active window; its hints must show all the same.
    setAttribute(Qt::WA_AlwaysShowToolTips);
    setMinimumSize(kMinimumSide, kMinimumSide);
    resize(kDesignSize);

    m_launchPool = new QThreadPool(this);
    m_launchPool->setMaxThreadCount(kLaunchThreads);
    // Idle workers go soon: a launcher mostly waits for the next click.
    m_launchPool->setExpiryTimeout(2000);

    Rectangle1 = new Plate(this);
    Rectangle1->setObjectName(QStringLiteral("Rectangle1"));
    Rectangle1->setOpacity(0.8f);

    FlowLayout1 = new IconLayer(this);
    FlowLayout1->setObjectName(QStringLiteral("FlowLayout1"));
    ShadowEffect1 = FlowLayout1->shadowEffect();

    m_stealth = new StealthMode(this, FlowLayout1);

    DropTarget1 = new DropArea(this);
    DropTarget1->setObjectName(QStringLiteral("DropTarget1"));
    DropTarget1->hide();

    EntryGrid::Links links;
    links.clicked = [this](LaunchButton *button) { BtnClickEvent(button); };
    links.entered = [this](LaunchButton *button) { ButtonMouseEnter(button); };
    links.menuRequested = [this](LaunchButton *button, const QPoint &globalPos) {
        launchButtonMenuRequested(button, globalPos);
    };
    links.dragRequested = [this](LaunchButton *button, const QPoint &hotSpot) {
        launchButtonDragRequested(button, hotSpot);
    };
    m_grid = new EntryGrid(FlowLayout1, Rectangle1, EntryGrid::Kind::Group, std::move(links), this);
    // A button remembered may stand for another entry after a build.
    connect(m_grid, &EntryGrid::cleared, this, [this] { obj = nullptr; });
    m_groupCaption = new GroupCaption(this);
    m_groupCaption->setObjectName(QStringLiteral("GroupCaption"));

    createMenus();
    nameForScreenReaders();
    placeComponents();
    connectCommands();
    opener = Opener::open;
    dropOpener = Opener::openWithFiles;
}

void TForm1::createMenus()
{
    auto item = [this](QMenu *menu, const QString &text, QKeySequence shortcut = {}, bool checkable = false) {
        QAction *action = menu->addAction(text);
        action->setCheckable(checkable);
        if (!shortcut.isEmpty()) {
            action->setShortcut(shortcut);
            // Shortcuts act while the bar has the focus, menu closed.
            addAction(action);
        }
        return action;
    };

    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    //: A button's menu: registration mode, where dropped files become entries.
    AddMenu = item(PopupMenu1, tr("新規追加"), {}, true);
    //: A button's menu: removes the button's entry.
    DelBtn = item(PopupMenu1, tr("削除"));
    EditCmd = item(PopupMenu1, tr("パラメータ編集"));
    //: A button's menu: opens the folder that holds the entry's file.
    FolderCmd = item(PopupMenu1, tr("フォルダを開く"));

    PopupMenu2 = new QMenu(this);
    PopupMenu2->setObjectName(QStringLiteral("PopupMenu2"));
    //: Menu item: opens the settings dialog.
    Seting2 = item(PopupMenu2, tr("設定"), QKeySequence(Qt::Key_F12));
    AddMenu2 = item(PopupMenu2, tr("新規登録"), QKeySequence(Qt::CTRL | Qt::Key_N), true);
    ReSize2 = item(PopupMenu2, tr("サイズ変更"), QKeySequence(Qt::CTRL | Qt::Key_R), true);
    StartAtLogin = item(PopupMenu2, tr("ログイン時に起動"), {}, true);
    MenuItem5 = PopupMenu2->addSeparator();
    MenuItem6 = PopupMenu2->addMenu(tr("グループ選択"));
    groupItems = new QActionGroup(this);
    groupItems->setExclusive(true);
    const Qt::Key keys[kGroupCount] = {Qt::Key_F1, Qt::Key_F2, Qt::Key_F3, Qt::Key_F4, Qt::Key_F5};
    QAction **members[kGroupCount] = {&Menu0, &Menu1, &Menu2, &Menu3, &Menu4};
    for (int n = 0; n < kGroupCount; ++n) {
        *members[n] = item(MenuItem6, QStringLiteral("Menu%1").arg(n), QKeySequence(keys[n]), true);
        groupItems->addAction(*members[n]);
    }
    MenuItem7 = PopupMenu2->addSeparator();
    SaveMenu = item(PopupMenu2, tr("設定保存"));
    //: Menu item: closes the launcher.
    CloseCmd2 = item(PopupMenu2, tr("終了"), QKeySequence(Qt::CTRL | Qt::Key_X));

    for (QMenu *menu : {PopupMenu1, PopupMenu2, MenuItem6}) {
        // Round corners need the space around them transparent, or cut
        // away where no compositor can show it.
        menu->setAttribute(Qt::WA_TranslucentBackground);
        menu->setAttribute(Qt::WA_AlwaysShowToolTips);
        menu->installEventFilter(this);
        // Styling loads fonts, which the bar's start need not wait for.
        connect(menu, &QMenu::aboutToShow, this, &TForm1::styleMenus);
    }
    // The entry may have been changed or removed outside since.
    connect(PopupMenu2, &QMenu::aboutToShow, this, &TForm1::showStartAtLogin);
}

void TForm1::styleMenus()
{
    if (m_menusStyled)
        return;
    m_menusStyled = true;
    QFile style(QStringLiteral(":/menus.qss"));
    const QString sheet = style.open(QIODevice::ReadOnly) ? QString::fromUtf8(style.readAll()) : QString();
    for (QMenu *menu : {PopupMenu1, PopupMenu2, MenuItem6})
        menu->setStyleSheet(sheet);
}

QAction *TForm1::groupItem(int group) const
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

void TForm1::FormCreate()
{
    ReadIniFile();
    m_grid->setModel(&LaunchPath.group(m_menuIndex));
    m_grid->setLook(buttonLook());
    m_stealth->setEnabled(m_settings.isStealth);
    // The stay-on-top flag first: setting a window flag recreates the native
    // window, which would lose the taskbar state set below.
    if (m_settings.isTop)
        X11Window::setStaysOnTop(this, true);
    if (!m_settings.isShowTaskBar)
        X11Window::setSkipTaskbar(this);
    m_compositor = !X11Window::isX11() || X11Window::compositorRunning();
    Rectangle1->setOpaque(!m_compositor);
    updateWindowShape();
    // A compositor may come or go while the bar runs.
    connect(new CompositorWatch(this), &CompositorWatch::changed, this, &TForm1::compositorChanged);
    watchScreens();
    setUpSummoning();
}

void TForm1::FormShow()
{
    SetBackColor();
    LoadGroup(m_menuIndex);
}

bool TForm1::FormCloseQuery()
{
    for (;;) {
        QString error;
        if (writeSettingsFile(&error))
            break;
        switch (ErrorReport::askOnCloseFailure(this, error)) {
        case ErrorReport::CloseChoice::Retry:
            continue;
        case ErrorReport::CloseChoice::QuitWithoutSaving:
            return true;
        case ErrorReport::CloseChoice::Stay:
            return false;
        }
    }
    return true;
}

void TForm1::FormResize()
{
    if (width() < kMinimumSide)
        resize(kMinimumSide, height());
    if (height() < kMinimumSide)
        resize(width(), kMinimumSide);
}

void TForm1::placeComponents()
{
    Rectangle1->setGeometry(rect());
    FlowLayout1->setGeometry(rect() - kFlowMargins);
    DropTarget1->setGeometry(rect() - kDropMargins);
    m_groupCaption->setGeometry(Rectangle1->plateRect());
}

void TForm1::keepOnScreen()
{
    // A stored size beyond the screen, or a place off it (a monitor that is
    // gone, a hand-edited file), would open a window nobody can see or reach.
    QList<ScreenArea> screens;
    for (const QScreen *screen : QGuiApplication::screens())
        screens.append({screen->geometry(), screen->availableGeometry()});
    const QRect placed = placeOnScreen(m_userGeometry, screens, QSize(kMinimumSide, kMinimumSide));
    m_displaced = !isStoredPlace(m_userGeometry, placed);
    // Native Wayland ignores a client's position; the stored one stays.
    if (!X11Window::isWayland())
        move(placed.topLeft());
    m_mover->resizeWindow(placed.size());
}

void TForm1::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!event->spontaneous()) {
        FormShow();
        // sway centres the window it floats; its IPC puts it where it was.
        if (X11Window::isX11() && SwayPlacement::available())
            SwayPlacement::moveTo(this, windowTitle(), pos());
    }
}

void TForm1::closeEvent(QCloseEvent *event)
{
    if (!FormCloseQuery()) {
        event->ignore();
        return;
    }
    event->accept();
    Q_EMIT closed();
}

void TForm1::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    FormResize();
    placeComponents();
    updateWindowShape();
    m_mover->windowResized();
}

void TForm1::moveEvent(QMoveEvent *event)
{
    QWidget::moveEvent(event);
    m_mover->windowMoved();
}

void TForm1::bringToFront()
{
    setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    raise();
    activateWindow();
    m_stealth->showButtons();
}
