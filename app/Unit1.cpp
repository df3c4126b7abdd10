// SPDX-License-Identifier: MIT
// The bar's start-up and lifecycle, its screens, its appearance, summoning,
// and what screen readers are told.
#include "app/Unit1.h"

#include "app/ArrangeDrag.h"
#include "app/BarMenus.h"
#include "app/DropArea.h"
#include "app/ErrorReport.h"
#include "app/GroupCaption.h"
#include "app/OpenDrop.h"
#include "app/Plate.h"
#include "app/RowScroller.h"
#include "app/StealthMode.h"
#include "app/Summoner.h"
#include "app/WindowMover.h"
#include "launcher/IconQueue.h"
#include "launcher/IconLayer.h"
#include "launcher/IconLayerEffect.h"
#include "launcher/LaunchButton.h"
#include "platform/CompositorWatch.h"
#include "platform/FreedMemory.h"
#include "platform/Opener.h"
#include "platform/SwayPlacement.h"
#include "platform/X11Window.h"

#include <QCloseEvent>
#include <QDialog>
#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>
#include <QShowEvent>
#include <QStandardPaths>
#include <QTimer>

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
    , m_autostart{QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation),
                  QCoreApplication::applicationFilePath()}
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
    // Before the widgets go: a failed launch reports over the bar.
    delete m_launches;
    m_launches = nullptr;
}

void TForm1::setCreateHomeOnSave(bool on)
{
    createHomeOnSave = on;
    LaunchPath.setCreateFolder(on);
}

void TForm1::setAutostartTarget(const QString &configHome, const QString &program)
{
    m_autostart = {configHome, program};
}

void TForm1::setDialogs(QWidget *settingsDialog, QDialog *parameterEditor)
{
    m_dialogs.settings = settingsDialog;
    m_dialogs.parameterEditor = parameterEditor;
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

    m_launches = new LaunchPool(this, kLaunchThreads);

    Rectangle1 = new Plate(this);
    Rectangle1->setObjectName(QStringLiteral("Rectangle1"));
    Rectangle1->setOpacity(0.8f);

    FlowLayout1 = new IconLayer(this);
    FlowLayout1->setObjectName(QStringLiteral("FlowLayout1"));

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
        m_arrangeDrag->start(button, hotSpot);
    };
    m_grid = new EntryGrid(FlowLayout1, Rectangle1, EntryGrid::Kind::Group, std::move(links), this);
    // A button remembered may stand for another entry after a build.
    connect(m_grid, &EntryGrid::cleared, this, [this] { obj = nullptr; });
    m_groupCaption = new GroupCaption(this);
    m_groupCaption->setObjectName(QStringLiteral("GroupCaption"));

    m_menus = new BarMenus(this);
    nameForScreenReaders();
    placeComponents();
    connectCommands();
    // Drags over the layer: files to open with a button's program, and
    // (filtered first, as installed last) a button being carried.
    OpenDrop::Links dropLinks;
    dropLinks.group = [this]() -> const GroupModel & { return currentGroup(); };
    dropLinks.registering = [this] { return isRegistrationAreaShown(); };
    dropLinks.start = [this](LaunchRequest request) { startOpen(std::move(request)); };
    new OpenDrop(m_grid, this, kDropInstancesUnasked, std::move(dropLinks));
    m_arrangeDrag = new ArrangeDrag(
        m_grid, [this](qsizetype from, qsizetype to) { return moveEntry(from, to); },
        // A hand edit held back during the drag, and not merged by a save.
        [this] { lookAtHandEditsSoon(); }, this);
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
    m_menus->setCompositorRunning(m_compositor);
    updateWindowShape();
    // A compositor may come or go while the bar runs.
    connect(new CompositorWatch(this), &CompositorWatch::changed, this, &TForm1::compositorChanged);
    watchScreens();
    setUpSummoning();
    connect(this, &TForm1::firstPainted, this, &TForm1::releaseStartMemory, Qt::SingleShotConnection);
}

void TForm1::releaseStartMemory()
{
    // What the start parsed and decoded on its way to the first screenful
    // of icons (an icon theme's index, pictures), and freed, need not stay
    // resident while the bar runs.
    IconQueue *icons = m_grid->icons();
    if (icons->isBusy())
        connect(icons, &IconQueue::caughtUp, this, releaseFreedMemory, Qt::SingleShotConnection);
    else
        releaseFreedMemory();
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
    m_screens.displaced = !isStoredPlace(m_userGeometry, placed);
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

void TForm1::setUpSummoning()
{
    Summoner::Links links;
    links.stealthOn = [this] { return m_settings.isStealth; };
    links.holdStealth = [this] { suspendStealth(); };
    links.releaseStealth = [this] {
        // An open dialog holds the fade off itself and lifts it at its closing.
        const bool dialogOpen = (m_dialogs.settings && m_dialogs.settings->isVisible())
                                || (m_dialogs.parameterEditor && m_dialogs.parameterEditor->isVisible());
        if (!dialogOpen)
            resumeStealth();
    };
    links.bringToFront = [this] { bringToFront(); };
    links.focusFirst = [this] {
        if (LaunchButton *first = m_grid->buttonFor(0))
            first->setFocus(Qt::ShortcutFocusReason);
        else
            setFocus(Qt::ShortcutFocusReason);
    };
    m_summoner = new Summoner(this, std::move(links));
    // The grab costs round trips to the X server that the first paint need
    // not wait for.
    connect(this, &TForm1::firstPainted, this, &TForm1::takeSummonKey, Qt::SingleShotConnection);
}

void TForm1::takeSummonKey()
{
    m_summoner->takeKey(m_settings.summonKey);
}

bool TForm1::summonKeyTaken() const
{
    return m_summoner && m_summoner->keyTaken();
}

void TForm1::summon(quint32 timestamp)
{
    m_summoner->summon(timestamp);
}

void TForm1::toggleSummon(quint32 timestamp)
{
    m_summoner->toggle(timestamp);
}

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

void TForm1::watchScreens()
{
    // A monitor unplugged or plugged in comes as several signals (the screen,
    // then the others' geometry): one look once they have all arrived.
    m_screens.check = new QTimer(this);
    m_screens.check->setSingleShot(true);
    m_screens.check->setInterval(50);
    connect(m_screens.check, &QTimer::timeout, this, &TForm1::screensChanged);
    auto *app = qGuiApp;
    connect(app, &QGuiApplication::screenAdded, this, [this](QScreen *screen) {
        watchScreen(screen);
        m_screens.check->start();
    });
    connect(app, &QGuiApplication::screenRemoved, m_screens.check, qOverload<>(&QTimer::start));
    for (QScreen *screen : QGuiApplication::screens())
        watchScreen(screen);
}

void TForm1::watchScreen(QScreen *screen)
{
    connect(screen, &QScreen::geometryChanged, m_screens.check, qOverload<>(&QTimer::start));
    connect(screen, &QScreen::availableGeometryChanged, m_screens.check, qOverload<>(&QTimer::start));
}

void TForm1::screensChanged()
{
    // The compositor of a native Wayland session moves its windows itself.
    if (X11Window::isWayland() || !isVisible())
        return;
    QList<ScreenArea> screens;
    for (const QScreen *screen : QGuiApplication::screens())
        screens.append({screen->geometry(), screen->availableGeometry()});
    const QRect placed = placeAfterScreenChange(m_userGeometry, geometry(), m_screens.displaced, screens,
                                                QSize(kMinimumSide, kMinimumSide));
    // Nothing is written: the stored place stays for the screen's return.
    m_screens.displaced = !isStoredPlace(m_userGeometry, placed);
    if (placed == geometry())
        return;
    move(placed.topLeft());
    m_mover->resizeWindow(placed.size());
    if (X11Window::isX11() && SwayPlacement::available())
        SwayPlacement::moveTo(this, windowTitle(), placed.topLeft());
}

void TForm1::SetBackColor()
{
    const BarSettings &s = m_settings;
    if (!s.isGradient) {
        Rectangle1->setSolidFill(QColor::fromRgba(s.color0));
        return;
    }
    Rectangle1->setGradientFill(QColor::fromRgba(s.color0), QColor::fromRgba(s.color1));
    switch (s.Direction) {
    case 0:
        Rectangle1->setGradientPositions({0, 0}, {0, 1});
        break;
    case 1:
        Rectangle1->setGradientPositions({0, 0}, {1, 0});
        break;
    case 2:
        Rectangle1->setGradientPositions({0, 0}, {1, 1});
        break;
    default:
        // Keeps the positions set last.
        break;
    }
}

void TForm1::setTransparency(bool on)
{
    if (m_transparency == on)
        return;
    m_transparency = on;
    updateWindowShape();
    update();
}

bool TForm1::isRegistrationAreaShown() const
{
    return !DropTarget1->isHidden();
}

void TForm1::updateWindowShape()
{
    // Without a compositor the transparent parts would show black: cut the
    // window to the plate instead.
    if (m_compositor || !m_transparency) {
        clearMask();
        return;
    }
    QPainterPath path;
    path.addRoundedRect(QRectF(Rectangle1->plateRect()), Plate::kCornerRadius, Plate::kCornerRadius);
    setMask(QRegion(path.toFillPolygon().toPolygon()));
}

void TForm1::compositorChanged(bool running)
{
    if (m_compositor == running)
        return;
    m_compositor = running;
    Rectangle1->setOpaque(!running);
    updateWindowShape();
    m_menus->setCompositorRunning(running);
    update();
}

void TForm1::paintEvent(QPaintEvent *)
{
    if (!m_painted) {
        m_painted = true;
        m_grid->layerPainted();
        // After the paint has reached the screen, not within it.
        QMetaObject::invokeMethod(this, &TForm1::firstPainted, Qt::QueuedConnection);
    }
    if (m_transparency)
        return;
    QPainter p(this);
    p.fillRect(rect(), palette().window());
}

IconLayerEffect *TForm1::ShadowEffect1() const
{
    return FlowLayout1->shadowEffect();
}
