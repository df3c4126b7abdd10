// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>

class QAction;
class QActionGroup;
class QMenu;
class QPoint;
class QWidget;

// The bar's two context menus, the group submenu and their items. An item
// chosen, from its menu or by its shortcut, is announced by a signal and
// the bar runs the command; the check marks (the current group,
// registration and resize mode, start at login) are the bar's to set, never
// the items' own. Shortcuts act while the bar has the focus, menus closed.
class BarMenus : public QObject
{
    Q_OBJECT

public:
    explicit BarMenus(QWidget *bar);

    void popupButtonMenu(const QPoint &globalPos); // PopupMenu1, for the button under the pointer
    void popupBarMenu(const QPoint &globalPos);    // PopupMenu2
    // The menus are made at their first opening (their items at once, for
    // the shortcuts); this makes them now.
    void makeMenus();

    // Group `group`'s item shows `name`, which stays as the user wrote it
    // elsewhere; numbers outside 0 to 4 are ignored.
    void setGroupName(int group, const QString &name);
    void setGroupChecked(int group);

    // Registration mode's marks: 新規追加 and 新規登録 checked, the group
    // submenu disabled. Turning them off leaves the submenu as it is: the
    // bar enables it once the group is saved.
    void setRegistrationMarks(bool on);
    void setGroupMenuEnabled(bool on);
    bool isAddMenuChecked() const;
    // The dialogs' closing clears 新規追加's check alone.
    void uncheckAddMenu();

    bool isResizeMode() const; // サイズ変更 checked: a drag resizes the bar
    void setResizeMode(bool on);
    void setStartAtLoginChecked(bool on);

    // Without a compositor the menus' transparent corners would show black:
    // they are cut away instead.
    void setCompositorRunning(bool running);

Q_SIGNALS:
    void registrationChosen();   // 新規追加 or 新規登録 (Ctrl+N)
    void deleteChosen();         // 削除
    void editChosen();           // パラメータ編集
    void folderChosen();         // フォルダを開く
    void settingsChosen();       // 設定 (F12)
    void resizeChosen();         // サイズ変更 (Ctrl+R)
    void startAtLoginChosen();   // ログイン時に起動
    void groupChosen(int group); // one of the group items (F1 to F5)
    void saveChosen();           // 設定保存
    void closeChosen();          // 終了 (Ctrl+X)
    // The bar's menu opens: its marks may be brought up to date first.
    void barMenuAboutToShow();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void createItems(QWidget *bar);
    void announceChoices();
    void style();
    void updateShape(QMenu *menu);
    QAction *groupItem(int group) const;

    QMenu *PopupMenu1 = nullptr;     // a button's context menu
    QAction *AddMenu = nullptr;      // "新規追加": registration mode on or off
    QAction *DelBtn = nullptr;       // "削除": removes the button's entry
    QAction *EditCmd = nullptr;      // "パラメータ編集": opens the parameter editor
    QAction *FolderCmd = nullptr;    // "フォルダを開く": the entry's folder in the file manager
    QMenu *PopupMenu2 = nullptr;     // the bar's context menu
    QAction *Seting2 = nullptr;      // "設定" (F12): opens the settings dialog
    QAction *AddMenu2 = nullptr;     // "新規登録" (Ctrl+N): registration mode, as AddMenu
    QAction *ReSize2 = nullptr;      // "サイズ変更" (Ctrl+R): dragging resizes instead of moving
    QAction *StartAtLogin = nullptr; // "ログイン時に起動": an autostart entry runs this program
    QAction *MenuItem5 = nullptr;    // separator
    QMenu *MenuItem6 = nullptr;      // "グループ選択": the group submenu
    QAction *Menu0 = nullptr, *Menu1 = nullptr, *Menu2 = nullptr, *Menu3 = nullptr,
            *Menu4 = nullptr;           // groups 0 to 4 (F1 to F5), captioned with their names
    QActionGroup *groupItems = nullptr; // makes Menu0 to Menu4 exclusive
    QAction *MenuItem7 = nullptr;       // separator
    QAction *SaveMenu = nullptr;        // "設定保存": writes the settings file
    QAction *CloseCmd2 = nullptr;       // "終了" (Ctrl+X): closes the launcher
    QWidget *m_bar;
    bool m_styled = false; // the style sheet is loaded at the first opening
    bool m_compositor = true;
    bool m_groupMenuEnabled = true;

    friend struct BarProbe;
};
