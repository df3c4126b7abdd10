// SPDX-License-Identifier: MIT
#pragma once

// Where a test must look inside the bar, it looks through here, so a change
// inside the bar breaks this file rather than every test. The names are the
// bar's own (docs/NAMES.md); nothing here decides anything.
#include "app/BarMenus.h"
#include "app/DropArea.h"
#include "app/EntryGrid.h"
#include "app/GroupCaption.h"
#include "app/Plate.h"
#include "app/StealthMode.h"
#include "app/TypeFilter.h"
#include "app/Unit1.h"
#include "launcher/IconLayer.h"
#include "launcher/IconLayerEffect.h"
#include "launcher/LaunchButton.h"

#include <QAction>
#include <QMenu>
#include <QPropertyAnimation>
#include <QTimer>

struct BarProbe {
    // Stealth mode's 500 ms tick and its fade of FlowLayout1.
    static QTimer *Timer1(const TForm1 &bar) { return bar.m_stealth->Timer1; }
    static QPropertyAnimation *FloatAnimation1(const TForm1 &bar) { return bar.m_stealth->FloatAnimation1; }
    // One tick, now.
    static void Timer1Timer(TForm1 &bar) { bar.m_stealth->Timer1Timer(); }
    // Where the tick learns of the pointer; a null function leaves it none.
    static void setPointerPosition(TForm1 &bar, StealthMode::PointerFunction pointer)
    {
        bar.m_stealth->pointerPosition = std::move(pointer);
    }

    // The current group's buttons (button i stands for entry i), and the one
    // a button's menu acts on; the pointer coming over a button makes it so.
    static const QList<LaunchButton *> &LaunchBtn(const TForm1 &bar) { return bar.LaunchBtn(); }
    // Entry i's button, made as bringing its row into sight would.
    static LaunchButton *buttonFor(TForm1 &bar, qsizetype i) { return bar.m_grid->buttonFor(i); }
    static LaunchButton *obj(const TForm1 &bar) { return bar.obj.data(); }
    static void ButtonMouseEnter(TForm1 &bar, LaunchButton *button) { bar.ButtonMouseEnter(button); }

    // The widgets the bar is made of.
    static Plate *Rectangle1(const TForm1 &bar) { return bar.Rectangle1; }
    static IconLayer *FlowLayout1(const TForm1 &bar) { return bar.FlowLayout1; }
    static IconLayerEffect *ShadowEffect1(const TForm1 &bar) { return bar.ShadowEffect1(); }
    static DropArea *DropTarget1(const TForm1 &bar) { return bar.DropTarget1; }
    static GroupCaption *groupCaption(const TForm1 &bar) { return bar.m_groupCaption; }
    static bool transparency(const TForm1 &bar) { return bar.transparency(); }

    // The menus and their items, to look at or trigger as the user would;
    // the bar's own or a BarMenus made without a bar. The menus are made
    // first, as their first opening would.
    static QMenu *PopupMenu1(const BarMenus &menus) { return made(menus).PopupMenu1; }
    static QMenu *PopupMenu2(const BarMenus &menus) { return made(menus).PopupMenu2; }
    static QMenu *MenuItem6(const BarMenus &menus) { return made(menus).MenuItem6; }
    static const BarMenus &made(const BarMenus &menus)
    {
        const_cast<BarMenus &>(menus).makeMenus();
        return menus;
    }
    static QAction *groupItem(const BarMenus &menus, int group) { return menus.groupItem(group); }
    static QAction *AddMenu(const BarMenus &menus) { return menus.AddMenu; }
    static QAction *AddMenu2(const BarMenus &menus) { return menus.AddMenu2; }
    static QAction *DelBtn(const BarMenus &menus) { return menus.DelBtn; }
    static QAction *EditCmd(const BarMenus &menus) { return menus.EditCmd; }
    static QAction *FolderCmd(const BarMenus &menus) { return menus.FolderCmd; }
    static QAction *ReSize2(const BarMenus &menus) { return menus.ReSize2; }
    static QAction *StartAtLogin(const BarMenus &menus) { return menus.StartAtLogin; }
    static QAction *Seting2(const BarMenus &menus) { return menus.Seting2; }
    static QAction *SaveMenu(const BarMenus &menus) { return menus.SaveMenu; }
    static QAction *CloseCmd2(const BarMenus &menus) { return menus.CloseCmd2; }
    static BarMenus &menus(const TForm1 &bar) { return *bar.m_menus; }

    // Handlers run directly where a test needs them without their menu
    // (their items carry check marks or need a button under the pointer).
    static void ReSize2Click(TForm1 &bar) { bar.ReSize2Click(); }
    static void SaveMenuClick(TForm1 &bar) { bar.SaveMenuClick(); }
    static void EditCmdClick(TForm1 &bar) { bar.EditCmdClick(); }
    static void BtnClickEvent(TForm1 &bar, LaunchButton *button) { bar.BtnClickEvent(button); }

    // Steps of start-up and loading, run again by a test.
    static void FormShow(TForm1 &bar) { bar.FormShow(); }
    static void LoadGroup(TForm1 &bar, int group) { bar.LoadGroup(group); }
    static void removeAllButtons(TForm1 &bar) { bar.removeAllButtons(); }
    static void rebuildButtons(TForm1 &bar, int32_t size, int32_t corner) { bar.rebuildButtons(size, corner); }
    static void setGroupName(TForm1 &bar, int group, const QString &name) { bar.setGroupName(group, name); }

    // Typing to filter: its state and the view it shows.
    static TypeFilter *typeFilter(const TForm1 &bar) { return bar.m_typeFilter; }

    // The files the bar writes.
    static QString iniPath(const TForm1 &bar) { return bar.iniPath(); }
    static QString groupPath(const TForm1 &bar, int group) { return bar.groupPath(group); }
};
