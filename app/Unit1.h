// SPDX-License-Identifier: MIT
#pragma once

#include "core/layout/WindowPlacement.h"
#include "core/entries/EntryLine.h"
#include "core/layout/FlowPlacement.h"
#include "core/groups/GroupFile.h"
#include "launcher/LaunchButtonHost.h"
#include "core/entries/LaunchRequest.h"

#include <QPointer>
#include <QRgb>
#include <QStringList>
#include <QWidget>

#include <array>
#include <climits>
#include <cstdint>
#include <functional>
#include <optional>
#include <utility>

class DropArea;
class IconLayer;
class IconLayerEffect;
class LaunchButton;
class Plate;
class QAction;
class QActionGroup;
class QDialog;
class QMenu;
class QThreadPool;
class QTimer;
class StealthMode;
class WindowMover;

// The launch bar: a borderless translucent window with a rounded plate on
// which the current group's files stand as icon buttons. It holds all of the
// launcher's lasting state; the settings dialog (TForm2) and the parameter
// editor (TForm3) read and write the fields below and call its operations.
// The bar itself knows the dialogs only as windows it is given.
//
// Its methods live in source files by concern:
//   Unit1.cpp            start-up, lifecycle, menus, screen placement
//   Unit1Settings.cpp    the settings file: what each key is read into
//   Unit1Groups.cpp      loading and saving groups, building buttons, icons
//   Unit1Launch.cpp      opening an entry on a worker thread
//   Unit1Commands.cpp    the context menus' commands, the press that moves or resizes
//   Unit1Arrange.cpp     arranging by hand: dragging buttons, the focus keys
//   Unit1Stealth.cpp     stealth mode (StealthMode) suspended by the dialogs
//   Unit1Appearance.cpp  the plate's fill and the window's transparency
//   Unit1Dialogs.cpp     opening the two dialogs
// docs/NAMES.md explains every name below.
class TForm1 : public QWidget, private LaunchButtonHost
{
    Q_OBJECT

public:
    // `homePath` is the folder the launcher keeps its files in, ending in "/".
    explicit TForm1(const QString &homePath, QWidget *parent = nullptr);
    ~TForm1() override;

    // --- State ---
    QString HomePath;                                 // folder of the settings and group files, ending in "/"
    bool createHomeOnSave = false;                    // a missing HomePath is made at a save, not reported
    std::array<QStringList, kGroupCount> LaunchPath;  // entry lines of groups 0 to 4, as in their files
    QList<LaunchButton *> LaunchBtn;                  // current group's buttons; button i stands for line i
    int MenuIndex = 0;                                // current group, 0 to 4
    TRec rec;                                         // the entry AddLaunchButton() turns into a button
    QPointer<LaunchButton> obj;                       // button last under the pointer: the one a menu acts on
    int selectIndex = 0;                              // line open in the parameter editor
    // Icon size and corner radius exist twice: bw/bc are what the buttons on
    // the bar were built with, bw2/bc2 what the settings dialog last chose
    // (and what the settings file stores). They differ while the dialog is
    // open, until it rebuilds the buttons at closing.
    int32_t bw = 0, bc = 0, bw2 = 0, bc2 = 0;
    int32_t pad = 0;                                  // padding around the icon inside a button
    int32_t GlowNo = 0;                               // hover effect, 0 (none) to 5
    QRgb GlowColor = 0;                               // colour of the glow hover effects
    bool FShowhint = false;                           // buttons show their hint as a tooltip
    bool isStealth = false;                           // stealth mode: buttons fade while the pointer is away
    bool isTop = false;                               // the bar stays above other windows
    bool isShowTaskBar = false;                       // the bar has a taskbar button (read at start)
    QRgb color0 = 0, color1 = 0;                      // plate colour, or the gradient's start and end
    bool isGradient = false;                          // the plate is filled with a gradient
    int32_t Direction = 0;                            // gradient: 0 vertical, 1 horizontal, 2 diagonal

    // --- Components ---
    QMenu *PopupMenu1 = nullptr;                      // a button's context menu
    QAction *AddMenu = nullptr;                       // "新規追加": registration mode on or off
    QAction *DelBtn = nullptr;                        // "削除": removes the button's entry
    QAction *EditCmd = nullptr;                       // "パラメータ編集": opens the parameter editor
    QAction *FolderCmd = nullptr;                     // "フォルダを開く": the entry's folder in the file manager
    QMenu *PopupMenu2 = nullptr;                      // the bar's context menu
    QAction *Seting2 = nullptr;                       // "設定" (F12): opens the settings dialog
    QAction *AddMenu2 = nullptr;                      // "新規登録" (Ctrl+N): registration mode, as AddMenu
    QAction *ReSize2 = nullptr;                       // "サイズ変更" (Ctrl+R): dragging resizes instead of moving
    QAction *StartAtLogin = nullptr;                  // "ログイン時に起動": an autostart entry runs this program
    QAction *MenuItem5 = nullptr;                     // separator
    QMenu *MenuItem6 = nullptr;                       // "グループ選択": the group submenu
    QAction *Menu0 = nullptr, *Menu1 = nullptr, *Menu2 = nullptr, *Menu3 = nullptr,
            *Menu4 = nullptr;                         // groups 0 to 4 (F1 to F5), captioned with their names
    QActionGroup *groupItems = nullptr;               // makes Menu0 to Menu4 exclusive
    QAction *MenuItem7 = nullptr;                     // separator
    QAction *SaveMenu = nullptr;                      // "設定保存": writes the settings file
    QAction *CloseCmd2 = nullptr;                     // "終了" (Ctrl+X): closes the launcher
    Plate *Rectangle1 = nullptr;                      // the translucent rounded plate
    IconLayer *FlowLayout1 = nullptr;                 // the layer the buttons stand on, in wrapping rows
    IconLayerEffect *ShadowEffect1 = nullptr;         // the buttons' drop shadow (owned by FlowLayout1)
    DropArea *DropTarget1 = nullptr;                  // where files are dropped in registration mode

    QAction *groupItem(int group) const;
    // Group names as the user wrote them; the menu items show them with
    // "&", tabs and line breaks made harmless.
    QString groupName(int group) const;
    void setGroupName(int group, const QString &name);

    // The windows the bar opens: the settings dialog and the parameter
    // editor. main() gives them; either may be null (tests).
    void setDialogs(QWidget *settingsDialog, QDialog *parameterEditor);

    // --- Lifecycle ---
    void FormShow();
    // Writes the settings; false when the user chose to stay after a failure.
    bool FormCloseQuery();
    // Another start in the same folder asked for the bar: it comes to the
    // front with its buttons shown, even while stealth mode has faded them.
    void bringToFront();

    // --- Settings file ---
    QString iniPath() const;
    // The place and size the settings file stores: as read, or as the user's
    // own move or resize left them. What the window manager imposes (a tiling
    // layout, a maximise, rounding at fractional scales) and the fitting onto
    // the screen at start never replace them.
    const StoredGeometry &userGeometry() const { return m_userGeometry; }
    void ReadIniFile();
    // Reports a failure to the user and returns false.
    bool WriteIniFile();
    // Writes the settings file without telling the user; on failure `error`
    // holds the message to show.
    bool writeIniFile(QString *error);

    // --- Groups and buttons ---
    QString groupPath(int group) const;
    // The current group's lines.
    QStringList &currentLines() { return LaunchPath[MenuIndex]; }
    void LoadGroup(int index);
    // Writes the current group's lines; `edit` is the user's change that led
    // to the save. When someone else changed the file since we last read or
    // wrote it, the edit is made to the file's lines instead and the group is
    // read again, so neither change is lost. Reports a failure, or an edit
    // that cannot be made over the other change, and returns false.
    bool SaveGroup(const GroupEdit &edit = {});
    // Builds the current group's buttons again from its file, with icon size
    // `size` and corner radius `corner`.
    void rebuildButtons(int32_t size, int32_t corner);
    // `stamp` is the entry's file as just read, when the caller has it.
    void AddLaunchButton(const FileStamp *stamp = nullptr);
    void ButtonApplyStyleLookup(LaunchButton *button);
    void applyIcon(LaunchButton *button, const FileStamp *stamp);
    void LoadFileIcon(const QString &path, LaunchButton *button);
    void LoadShellIcon(const QString &path, LaunchButton *button);
    void startIconQueue();
    void ButtonMouseEnter(LaunchButton *button);
    // Takes every button off the bar and empties LaunchBtn; the buttons stay
    // shown until LoadGroup reuses or hides them.
    void removeAllButtons();
    void removeButton(LaunchButton *button);

    // --- Launching ---
    // Opens a file; false with the reason in `error` when it could not. Runs
    // on a worker thread.
    using OpenFunction = std::function<bool(const QString &file, const QString &params,
                                            const QString &workingDir, QString *error)>;
    OpenFunction opener;
    void BtnClickEvent(LaunchButton *sender);
    // Waits (a few seconds at most) until every launch started so far has
    // been handed over; false when one is still under way.
    bool waitForLaunches();

    // --- Commands ---
    void AddMenuClick();
    // Registers every file, in order; before button `before` when it is one
    // of the bar's, else at the end. Saved at once, in one write.
    void DropTarget1Dropped(const QStringList &files, qsizetype before = -1);
    void DelBtnClick();
    // Switches to group n (the group items' handler).
    void MenuClick(int group);
    void ReSize2Click();
    // A press on the bar's free area or on the drop area: moves the window,
    // or resizes it in resize mode.
    void FlowLayout1MouseDown(QMouseEvent *event);
    void SaveMenuClick();
    void CloseCmdClick();

    // --- Arranging by hand ---
    // Moves entry `from` to place `to`, its button with it, and saves the
    // new order; false when nothing moved or the save was refused.
    bool moveEntry(qsizetype from, qsizetype to);
    // Moves line `from`, its button and its place on the layer to `to`,
    // saving nothing.
    void moveInBar(qsizetype from, qsizetype to);
    // Opens the folder holding the entry of `obj`, on a worker.
    void FolderCmdClick();
    // The bar's button at `pos` (in the window's coordinates); -1 for none.
    qsizetype buttonIndexAt(const QPoint &pos) const;

    // --- Stealth ---
    // While a dialog is open the buttons stay fully visible: the tick stops
    // and any fade is undone. resumeStealth() runs the tick again exactly
    // when stealth mode is on.
    void suspendStealth();
    void resumeStealth();

    // --- Start at login ---
    // Where the autostart entry goes ($XDG_CONFIG_HOME) and the program it
    // runs: by default the user's config folder and this very executable.
    QString autostartConfigHome;
    QString autostartProgram;
    // Writes the entry, or removes it when it names this program.
    void StartAtLoginClick();
    // The check mark follows the entry on disk, which others may change.
    void showStartAtLogin();

    // --- Dialogs ---
    void SetingClick();
    void EditCmdClick();

    // --- Appearance ---
    void SetBackColor();
    bool transparency() const { return m_transparency; }
    void setTransparency(bool on);
    bool isRegistrationAreaShown() const;

    static constexpr int kMinimumSide = 70;
    // The settings dialog's ranges for the icon size and corner radius.
    static constexpr std::pair<int32_t, int32_t> kIconSideRange{16, 100};
    static constexpr std::pair<int32_t, int32_t> kCornerRange{0, 100};
    // Launches under way at once; more clicks wait their turn.
    static constexpr int kLaunchThreads = 4;

Q_SIGNALS:
    // The window has closed; the launcher ends.
    void closed();
    // A group was loaded: the settings dialog takes the icon size and corner
    // radius (bw2, bc2) into its spin boxes.
    void groupLoaded();
    // The current group's lines changed other than through the settings
    // dialog (a load, a drop, a delete): its order list is refilled.
    void groupLinesChanged();
    // The bar has been painted for the first time: what can wait until the
    // bar shows may start.
    void firstPainted();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void moveEvent(QMoveEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void connectCommands();
    bool handleAreaMouse(QEvent *event);
    void FormCreate();
    void FormResize();
    void createComponents();
    void createMenus();
    void styleMenus();
    void placeComponents();
    void switchRegistrationOn();
    void keepOnScreen();
    void updateWindowShape();
    void updateMenuShape(QMenu *menu);
    void compositorChanged(bool running);

    void loadQueuedIcons();
    // A button reporting to the bar, for AddLaunchButton to fill.
    LaunchButton *newLaunchButton();
    void launchButtonClicked(LaunchButton *button) override;
    void launchButtonEntered(LaunchButton *button) override;
    void launchButtonMenuRequested(LaunchButton *button, const QPoint &globalPos) override;
    void launchButtonStyleChanged(LaunchButton *button) override;
    // Buttons off the bar, hidden, waiting to be reused.
    QList<LaunchButton *> m_spareButtons;
    static constexpr qsizetype kMaxSpareButtons = 4096;
    bool m_loadingGroup = false; // LoadGroup is adding buttons
    bool m_painted = false;      // the bar has been painted once
    void finishLaunches();
    // Hands `request` to a worker of the launch pool.
    void startOpen(LaunchRequest request);

    // A button picked up and carried: over the bar the others make room,
    // outside it the file is offered to other programs.
    void launchButtonDragRequested(LaunchButton *button, const QPoint &hotSpot) override;
    bool handleArrangeDrag(QEvent *event);
    void launchButtonFocusStep(LaunchButton *button, FlowStep step) override;
    struct ArrangeDrag {
        QPointer<LaunchButton> button;
        qsizetype from = -1;  // its place when picked up
        bool dropped = false; // released over the bar
    } m_arrange;

    std::array<QString, kGroupCount> m_groupNames;
    QPointer<QWidget> m_settingsDialog;
    QPointer<QDialog> m_parameterEditor;
    // Launch workers: few, so a storm of clicks cannot start hundreds of
    // threads, and waited for before the bar goes.
    QThreadPool *m_launchPool = nullptr;
    // A group file that could not be read whole may hold entries we never
    // saw: it is never overwritten.
    std::array<bool, kGroupCount> m_groupUnreadable{};
    // Each group file as we last read or wrote it; none for a group never
    // read.
    std::array<std::optional<FileStamp>, kGroupCount> m_groupStamp{};
    bool saveOverChangedFile(const GroupEdit &edit);
    // Makes, a few at a time from the event loop, the icons of the buttons
    // in sight that were shown without theirs, so a large group shows at
    // once and fills them in, in order.
    QTimer *m_iconTimer = nullptr;
    int m_syncIconsLeft = INT_MAX;
    // At start a large group's buttons beyond the bar's edge are made just
    // after the first paint. Until then they wait here, and any input makes
    // them first, so the user never acts on part of a group.
    struct PendingEntry {
        TRec rec;
        FileStamp stamp;
    };
    QList<PendingEntry> m_pendingEntries;
    QObject *m_pendingInputWatch = nullptr;
    void makePendingButtons();
    void dropPendingButtons();
    bool m_transparency = true; // the window's background is see-through
    bool m_compositor = true;   // a compositor draws translucency; else a mask cuts the window
    bool m_menusStyled = false; // menus get their style sheet when first opened
    StealthMode *m_stealth = nullptr; // fades the buttons while the pointer is away
    // The tests' one look inside.
    friend struct BarProbe;
    WindowMover *m_mover = nullptr; // moves and resizes the bar at the user's drag
    StoredGeometry m_userGeometry;
    bool m_userMoved = false; // the stored position is one the user dragged to
};
