// SPDX-License-Identifier: MIT
#pragma once

#include "launcher/EntryLine.h"
#include "launcher/GroupFile.h"

#include <QPointer>
#include <QRgb>
#include <QStringList>
#include <QWidget>

#include <array>
#include <climits>
#include <cstdint>
#include <functional>
#include <optional>

class DropArea;
class FlowLayout;
class IconLayerEffect;
class LaunchButton;
class Plate;
class QAction;
class QActionGroup;
class QMenu;
class QPropertyAnimation;
class QTimer;

// The launch bar: a borderless translucent window with a rounded plate on
// which the current group's files stand as icon buttons. It holds all of the
// launcher's lasting state; the dialogs read and write it directly.
//
// Its methods live in a few source files by concern: Unit1.cpp (start-up and
// lifecycle), Unit1Settings.cpp (the settings file), Unit1Groups.cpp (groups
// and buttons), Unit1Appearance.cpp (the window's look).
class TForm1 : public QWidget
{
    Q_OBJECT

public:
    // `homePath` is the folder the launcher keeps its files in, ending in "/".
    explicit TForm1(const QString &homePath, QWidget *parent = nullptr);
    ~TForm1() override;

    // --- State ---
    QString HomePath;
    std::array<QStringList, kGroupCount> LaunchPath;
    QList<LaunchButton *> LaunchBtn;
    int MenuIndex = 0;
    TRec rec;
    QPointer<LaunchButton> obj;
    int selectIndex = 0;
    int32_t bw = 0, bc = 0, bw2 = 0, bc2 = 0, pad = 0;
    int32_t GlowNo = 0;
    QRgb GlowColor = 0;
    bool FShowhint = false;
    bool isStealth = false, isTop = false, isShowTaskBar = false;
    QRgb color0 = 0, color1 = 0;
    bool isGradient = false;
    int32_t Direction = 0;

    // --- Components ---
    QMenu *PopupMenu1 = nullptr;
    QAction *AddMenu = nullptr, *DelBtn = nullptr, *EditCmd = nullptr;
    QMenu *PopupMenu2 = nullptr;
    QAction *Seting2 = nullptr, *AddMenu2 = nullptr, *ReSize2 = nullptr, *MenuItem5 = nullptr;
    QMenu *MenuItem6 = nullptr;
    QAction *Menu0 = nullptr, *Menu1 = nullptr, *Menu2 = nullptr, *Menu3 = nullptr, *Menu4 = nullptr;
    QActionGroup *groupItems = nullptr;
    QAction *MenuItem7 = nullptr, *SaveMenu = nullptr, *CloseCmd2 = nullptr;
    QTimer *Timer1 = nullptr;
    Plate *Rectangle1 = nullptr;
    FlowLayout *FlowLayout1 = nullptr;
    IconLayerEffect *ShadowEffect1 = nullptr;
    QPropertyAnimation *FloatAnimation1 = nullptr;
    DropArea *DropTarget1 = nullptr;

    QAction *groupItem(int group) const;
    // Group names as the user wrote them (menus would read "&" as a mnemonic).
    QString groupName(int group) const;
    void setGroupName(int group, const QString &name);

    // --- Lifecycle ---
    void FormShow();
    // Writes the settings; false when the user chose to stay after a failure.
    bool FormCloseQuery();

    // --- Settings file ---
    QString iniPath() const;
    void ReadIniFile();
    // Reports a failure to the user and returns false.
    bool WriteIniFile();
    // The failure's message, or nothing when the file was written.
    std::optional<QString> writeIniFileOrError();

    // --- Groups and buttons ---
    QString groupPath(int group) const;
    void LoadGroup(int index);
    // Reports a failure to the user and returns false.
    bool SaveGroup();
    void AddLaunchButton();
    void ButtonApplyStyleLookup(LaunchButton *button);
    void LoadFileIcon(const QString &path, LaunchButton *button);
    void LoadShellIcon(const QString &path, LaunchButton *button);
    void ButtonMouseEnter(LaunchButton *button);
    // Takes every button off the bar and empties LaunchBtn.
    void removeAllButtons();
    void removeButton(LaunchButton *button);

    // --- Launching ---
    // Opens a file; returns why it could not, or "". Runs on a worker thread.
    using OpenFunction = std::function<QString(const QString &file, const QString &params,
                                               const QString &workingDir)>;
    OpenFunction opener;
    void BtnClickEvent(LaunchButton *sender);

    // --- Commands ---
    void AddMenuClick();
    void DropTarget1Dropped(const QStringList &files);
    void DelBtnClick();
    // Switches to group n (the group items' handler).
    void MenuClick(int group);
    void ReSize2Click();
    // A press on the bar's free area or on the drop area: moves the window,
    // or resizes it in resize mode.
    void FlowLayout1MouseDown(QMouseEvent *event);
    void SaveMenuClick();
    void CloseCmdClick();

    // --- Stealth ---
    // The pointer's position on the screen, or nothing where it is unknown.
    using PointerFunction = std::function<std::optional<QPoint>()>;
    PointerFunction pointerPosition;
    void Timer1Timer();

    // --- Dialogs ---
    void SetingClick();
    void EditCmdClick();

    // --- Appearance ---
    void SetBackColor();
    bool transparency() const { return m_transparency; }
    void setTransparency(bool on);
    bool isRegistrationAreaShown() const;

    static constexpr int kMinimumSide = 70;

Q_SIGNALS:
    // The window has closed; the launcher ends.
    void closed();
    // A group was loaded: the settings dialog takes the icon size and corner
    // radius (bw2, bc2) into its spin boxes.
    void groupLoaded();
    // The current group's lines changed other than through the settings
    // dialog (a load, a drop, a delete): its order list is refilled.
    void groupLinesChanged();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void connectCommands();
    bool handleAreaMouse(QEvent *event);
    void followPointer(const QPoint &globalPos);
    void applyDrag(const QPoint &delta);
    void FormCreate();
    void FormResize();
    void createComponents();
    void createMenus();
    void styleMenus();
    void placeComponents();
    void switchRegistrationOn();
    void keepOnScreen();
    void updateWindowShape();

    void loadQueuedIcons();

    std::array<bool, kGroupCount> m_groupUnreadable{};
    // Icons not yet made wait here while a large group loads, so the bar
    // shows at once and fills them in, in order.
    QList<QPointer<LaunchButton>> m_iconQueue;
    QTimer *m_iconTimer = nullptr;
    int m_syncIconsLeft = INT_MAX;
    bool m_transparency = true;
    bool m_compositor = true;
    bool m_menusStyled = false;
    // Moving or resizing by following the pointer, where the window manager
    // cannot do it (and for the right button, whose release opens the menu).
    struct PointerDrag {
        bool active = false;
        bool resize = false;
        bool moved = false;
        Qt::MouseButton button = Qt::NoButton;
        QPoint pressGlobal;
        QRect startGeometry;
    } m_drag;

public:
    // Another start in the same folder asked for the bar: it comes to the
    // front with its buttons shown, even while stealth mode has faded them.
    void bringToFront();
};
