// SPDX-License-Identifier: MIT
#pragma once

#include "core/layout/WindowPlacement.h"
#include "core/entries/EntryLine.h"
#include "core/layout/FlowPlacement.h"
#include "core/groups/GroupFile.h"
#include "core/settings/BarSettings.h"
#include "core/groups/GroupSet.h"
#include "app/EntryGrid.h"
#include "app/LaunchPool.h"
#include "core/entries/LaunchRequest.h"
#include "core/entries/DropAcceptance.h"

#include <QPointer>
#include <QStringList>
#include <QWidget>

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <utility>

class BarMenus;
class ArrangeDrag;
class DropArea;
class FileWatch;
class GroupCaption;
class IconLayer;
class IconLayerEffect;
class LaunchButton;
class Plate;
class QDialog;
class QScreen;
class QTimer;
class RowScroller;
class QWindow;
class StealthMode;
class Summoner;
class TypeFilter;
class WindowMover;

// The launch bar: a borderless translucent window with a rounded plate on
// which the current group's files stand as icon buttons. It owns the five
// groups' models, the settings value and the collaborators that fade, move
// and launch; the settings dialog (TForm2) edits a copy of the settings and
// hands it back, the parameter editor (TForm3) edits the current group's
// model; both go through the operations below, never the bar's widgets.
// The bar itself knows the dialogs only as windows it is given.
//
// The window composes; its parts are classes of their own: the groups
// (GroupSet, core/groups/GroupSet.h), the buttons of a group or of the
// filter's matches (EntryGrid), the menus (BarMenus), a button carried to a
// new place (ArrangeDrag), files dropped on a program's button (OpenDrop),
// typing to filter (TypeFilter), summoning (Summoner), stealth mode
// (StealthMode) and moving the window (WindowMover). Its own methods live
// in source files by concern:
//   Unit1.cpp            start-up, lifecycle, screens, appearance, summoning,
//                        what screen readers are told
//   Unit1Settings.cpp    the settings file, the settings dialog's choice, and
//                        the group and settings files changed by hand
//   Unit1Groups.cpp      loading groups, telling failed saves, the buttons' look
//   Unit1Launch.cpp      opening an entry on a worker thread; the filter's links
//   Unit1Commands.cpp    the context menus' commands, the press that moves or resizes
//   Unit1Dialogs.cpp     opening the two dialogs, stealth mode held off meanwhile
// docs/NAMES.md explains every name below; tests see the private parts
// through tests/BarProbe.h.
class TForm1 : public QWidget
{
    Q_OBJECT

public:
    // `home` is the folder the launcher keeps its files in, ending in "/".
    explicit TForm1(const QString &home, QWidget *parent = nullptr);
    ~TForm1() override; // waits for the launches under way
    // A missing home folder is made at a save instead of reported.
    void setCreateHomeOnSave(bool on);
    // The windows the bar opens: the settings dialog and the parameter
    // editor. main() gives them; either may be null (tests).
    void setDialogs(QWidget *settingsDialog, QDialog *parameterEditor);

    // --- Lifecycle ---
    // Writes the settings; false when the user chose to stay after a failure.
    bool FormCloseQuery();
    // Another start in the same folder asked for the bar: it comes to the
    // front with its buttons shown, even while stealth mode has faded them.
    void bringToFront();

    // --- Settings ---
    // Appearance and modes, as read from the settings file or last applied.
    const BarSettings &settings() const { return m_settings; }
    // The settings dialog's closing: takes every setting, in the order the
    // bar's state needs (stay-on-top, stealth, transparency, the
    // registration check, the buttons rebuilt when `rebuild`, group names),
    // writes the settings file and only then fills the plate anew. False
    // when the file could not be written (the user has been told); what came
    // before the write has taken effect.
    bool applySettings(const BarSettings &chosen, bool rebuild);
    // What the settings dialog shows at once while open: the gaps and the
    // shadow; the icon size and corner radius are kept as chosen (bw2, bc2)
    // for a save, the buttons keeping theirs until applySettings.
    void previewSettings(const BarSettings &chosen);
    // The place and size the settings file stores: as read, or as the user's
    // own move or resize left them. What the window manager imposes (a tiling
    // layout, a maximise, rounding at fractional scales) and the fitting onto
    // the screen at start never replace them.
    const StoredGeometry &userGeometry() const { return m_userGeometry; }
    // Writes the settings file; reports a failure to the user and returns false.
    bool WriteIniFile();
    // The icon size and corner radius the buttons on the bar were built with
    // (bw, bc): settings().bw2/bc2 differ from them while the settings dialog
    // is open.
    std::pair<int32_t, int32_t> buttonIconSize() const { return {bw, bc}; }

    // --- Groups ---
    // The five groups (owned by the bar, shared with the filter and the
    // dialogs): each group's entries, in order, and its file. Read only
    // outside; every change goes through an operation of the set, which
    // saves it, and the buttons follow the current group's notifications.
    // A save that fails is told to the user by the bar.
    GroupSet &LaunchPath;
    int MenuIndex() const { return m_menuIndex; } // the current group, 0 to 4
    // The current group's model, to read.
    const GroupModel &currentGroup() const { return LaunchPath.group(m_menuIndex); }
    // Group names as the user wrote them; the menu items show them with
    // "&", tabs and line breaks made harmless.
    QString groupName(int group) const;
    // Saves the current group as it stands; false when it could not be
    // saved (the user has been told).
    bool SaveGroup();
    // The settings dialog's confirmed order list becomes the current group
    // and is saved; refused as a new order when the file changed elsewhere.
    bool setGroupOrder(const QStringList &lines);

    // --- Launching ---
    // Opens a file; false with the reason in `error` when it could not. Runs
    // on a worker thread (LaunchPool).
    using OpenFunction = LaunchPool::OpenFunction;
    void setOpener(OpenFunction open); // what a click runs; the desktop's opener by default
    // Waits (a few seconds at most) until every launch started so far has
    // been handed over; false when one is still under way.
    bool waitForLaunches();
    // Launches under way at once; more clicks wait their turn.
    static constexpr int kLaunchThreads = 4;

    // --- Commands, as the user runs them ---
    void AddMenuClick(); // registration mode on or off (新規追加, 新規登録)
    // The dialogs' closing clears the registration command's check alone;
    // the drop area and the other marks stay, so the next 新規登録 enters
    // registration mode again without saving.
    void clearAddMenuCheck();
    // Registers every file, in order; before button `before` when it is one
    // of the bar's, else at the end. Saved at once, in one write.
    void DropTarget1Dropped(const QStringList &files, qsizetype before = -1);
    // Removes the entry of the button the menu was opened on (削除).
    void DelBtnClick();
    // Switches to group n (the group items' handler).
    void MenuClick(int group);
    // Moves entry `from` to place `to`, its button with it, and saves the
    // new order; false when nothing moved or the save was refused.
    bool moveEntry(qsizetype from, qsizetype to);
    // Where the start-at-login command writes its entry ($XDG_CONFIG_HOME)
    // and the program it runs: by default the user's config folder and this
    // very executable.
    void setAutostartTarget(const QString &configHome, const QString &program);

    // --- Stealth and appearance ---
    // While a dialog is open the buttons stay fully visible: the tick stops
    // and any fade is undone. resumeStealth() runs the tick again exactly
    // when stealth mode is on.
    void suspendStealth();
    void resumeStealth();                 // see suspendStealth()
    void setTransparency(bool on);        // the window's background see-through or filled
    bool isRegistrationAreaShown() const; // the drop area of registration mode is up

    // --- Opening dropped files with a button's program ---
    // Starts `file` (a desktop entry or a program) once with `files` after
    // its parameters; false with the reason in `error`. Runs on a worker.
    using DropOpenFunction = LaunchPool::DropOpenFunction;
    // What a drop on a program's button runs; the desktop's by default.
    void setDropOpener(DropOpenFunction open);
    // A drop that would start more instances than this asks first.
    static constexpr qsizetype kDropInstancesUnasked = 20;
    // --- Summoning (Summoner, app/Summoner.h) ---
    // The summoning key, or `Quillbrook --show` from another start: the bar
    // is shown, raised and un-faded, and asks the window manager for the
    // focus at X server time `timestamp` (0: now), which goes to its first
    // button. The window that had the focus is remembered; stealth mode
    // keeps the buttons shown until the bar loses the focus.
    void summon(quint32 timestamp = 0);
    // The summoning key's own press, and `Quillbrook --toggle`: summon(),
    // or while the bar has the focus, the focus back to the window that had
    // it before.
    void toggleSummon(quint32 timestamp = 0);
    // The summoning key is taken from the whole desktop (X11, not held by
    // another program, not turned off).
    bool summonKeyTaken() const;

private:
    Summoner *m_summoner = nullptr;
    void setUpSummoning();
    // Takes m_settings.summonKey from the desktop, or lets go of the key.
    void takeSummonKey();

Q_SIGNALS:
    // The window has closed; the launcher ends.
    void closed();
    // A group was loaded: the settings dialog takes the icon size and corner
    // radius (settings().bw2, bc2) into its spin boxes.
    void groupLoaded();
    // The current group's entries changed: the settings dialog's order
    // list is refilled.
    void groupLinesChanged();
    // The edit command chose entry `index` of the current group for the
    // parameter editor, which opens next.
    void entryEditRequested(int index);
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
    // --- State ---
    QString HomePath;              // folder of the settings and group files, ending in "/"
    bool createHomeOnSave = false; // a missing HomePath is made at a save, not reported
    // The current group's buttons (EntryGrid): button i stands for entry i.
    EntryGrid *m_grid = nullptr;
    const QList<LaunchButton *> &LaunchBtn() const;
    int m_menuIndex = 0;        // the current group (MenuIndex()), 0 to 4
    QPointer<LaunchButton> obj; // button last under the pointer: the one a menu acts on
    // Icon size and corner radius exist twice: bw/bc are what the buttons on
    // the bar were built with, settings().bw2/bc2 what the settings dialog
    // last chose (and what the settings file stores). They differ while the
    // dialog is open, until it rebuilds the buttons at closing.
    int32_t bw = 0, bc = 0;
    BarSettings m_settings;
    StoredGeometry m_userGeometry;
    bool m_userMoved = false; // the stored position is one the user dragged to
    // The windows the bar opens (setDialogs).
    struct {
        QPointer<QWidget> settings;
        QPointer<QDialog> parameterEditor;
    } m_dialogs;

    // --- Components ---
    BarMenus *m_menus = nullptr;            // both context menus and their items
    Plate *Rectangle1 = nullptr;            // the translucent rounded plate
    IconLayer *FlowLayout1 = nullptr;       // the layer the buttons stand on, in wrapping rows
    IconLayerEffect *ShadowEffect1() const; // the buttons' drop shadow (FlowLayout1's)
    DropArea *DropTarget1 = nullptr;        // where files are dropped in registration mode
    StealthMode *m_stealth = nullptr;       // fades the buttons while the pointer is away
    WindowMover *m_mover = nullptr;         // moves and resizes the bar at the user's drag
    static constexpr int kMinimumSide = 70;

    // --- Start-up and the window ---
    void FormCreate();
    void FormShow();
    void FormResize();
    void createComponents();
    void placeComponents();
    void keepOnScreen();
    void updateWindowShape();
    void compositorChanged(bool running);
    // Once the first icons are made after the first paint.
    void releaseStartMemory();
    bool m_compositor = true; // a compositor draws translucency; else a mask cuts the window
    bool m_painted = false;   // the bar has been painted once

    // --- Settings file ---
    QString iniPath() const;
    void ReadIniFile();
    // Writes the settings file without telling the user; on failure `error`
    // holds the message to show.
    bool writeSettingsFile(QString *error);
    // Gaps, shadow and opacity from m_settings to the widgets that show them.
    void showLayerSettings();

    // --- Groups and buttons ---
    QString groupPath(int group) const;
    void setGroupName(int group, const QString &name);
    // Reads group `index` from its file; the current group's buttons follow.
    void LoadGroup(int index);
    // Tells the user why a save of `edit` to `group` failed.
    void groupSaveFailed(int group, const GroupResult &result, const GroupEdit &edit);
    // Builds the current group's buttons again from its model, with icon
    // size `size` and corner radius `corner`; the file is not read again.
    void rebuildButtons(int32_t size, int32_t corner);
    // Takes every button off the bar; the buttons stay shown until the next
    // build reuses or hides them.
    void removeAllButtons();
    // Follows the current group's model beyond its buttons: the group's
    // name, registration mode for an empty file, the dialogs told.
    void groupChanged(int group, const GroupChange &change);
    // The buttons' look from the settings.
    EntryLook buttonLook() const;
    void ButtonMouseEnter(LaunchButton *button); // the pointer came over `button`: obj
    void launchButtonMenuRequested(LaunchButton *button, const QPoint &globalPos);

    // --- Launching ---
    void BtnClickEvent(LaunchButton *sender);
    // Hands `request` to a worker of the launch pool.
    void startOpen(LaunchRequest request);
    LaunchPool *m_launches = nullptr;

    // --- Commands ---
    void connectCommands();
    void switchRegistrationOn();
    void ReSize2Click();
    // A press on the bar's free area or on the drop area: moves the window,
    // or resizes it in resize mode.
    void FlowLayout1MouseDown(QMouseEvent *event);
    bool handleAreaMouse(QEvent *event);
    void SaveMenuClick();
    void CloseCmdClick();
    // Opens the folder holding the entry of `obj`, on a worker.
    void FolderCmdClick();
    // The bar's button at `pos` (in the window's coordinates); -1 for none.
    qsizetype buttonIndexAt(const QPoint &pos) const;
    // See setAutostartTarget.
    struct {
        QString configHome;
        QString program;
    } m_autostart;
    // Writes the entry, or removes it when it names this program.
    void StartAtLoginClick();
    // The check mark follows the entry on disk, which others may change.
    void showStartAtLogin();

    // --- Arranging by hand ---
    // A button picked up and carried (ArrangeDrag).
    ArrangeDrag *m_arrangeDrag = nullptr;

    // --- Hand edits ---
    // The current group's file, the settings file and their folder.
    struct {
        FileWatch *watch = nullptr;
        FileStamp ini; // the settings file as we last read or wrote it
    } m_handEdits;
    void watchFiles();
    // Reads again what another program changed, unless the user has
    // something under way that a reload would lose: then a save merges it.
    void lookAtHandEdits();
    // The next turn of the event loop, once what is under way has finished.
    void lookAtHandEditsSoon();
    bool userEditPending() const;
    // Appearance and modes from a settings file edited by hand; the window
    // keeps its place and size, and the current group stays.
    void takeHandEditedSettings();

    // --- Screens coming and going ---
    // The bar stands away from its stored place (or size) because the
    // screens could not hold it there; it goes back when they can.
    struct {
        bool displaced = false;
        QTimer *check = nullptr; // gathers one change's several signals
    } m_screens;
    void watchScreens();
    void watchScreen(QScreen *screen);
    // Moves the bar onto a remaining screen, or back to its stored place.
    void screensChanged();

    // --- Dialogs ---
    void SetingClick();
    // Opens the parameter editor on the entry of `obj`.
    void EditCmdClick();

    // --- Within reach ---
    // The group's name over the plate for a moment after a switch.
    GroupCaption *m_groupCaption = nullptr;
    void showGroupCaption();
    // --- Screen readers ---
    // Names the bar and its drop area in the interface's language; the
    // menus name themselves.
    void nameForScreenReaders();
    // The icon layer carries the current group's name, so moving into it
    // says which group shows.
    void nameCurrentGroup();

    // --- Appearance ---
    void SetBackColor();
    bool transparency() const { return m_transparency; }
    bool m_transparency = true; // the window's background is see-through

    // --- Opening dropped files ---

    // --- Typing to filter, launching by position ---
    // Typed letters filter every group's entries; Ctrl+1 to Ctrl+9 open the
    // first nine buttons shown (TypeFilter, app/TypeFilter.h).
    TypeFilter *m_typeFilter = nullptr;
    void createTypeFilter();
    // Opens entry `index` of group `group` as a click on its button would,
    // whatever the current group.
    void launchEntry(int group, qsizetype index);

    // The tests' one look inside.
    friend struct BarProbe;
};
