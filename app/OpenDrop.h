// SPDX-License-Identifier: MIT
#pragma once

#include "core/entries/DropAcceptance.h"
#include "core/entries/LaunchRequest.h"

#include <QObject>
#include <QPointer>

#include <functional>

class EntryGrid;
class GroupModel;
class LaunchButton;
class QWidget;

// Files dragged from elsewhere over a program's button, outside
// registration mode: the button that will take them shows so (a ring and
// "Open with …"), and a drop there starts the program with them. Which
// entry takes which drop is DropAcceptance's; here the drag is shown,
// answered (copy or link only, never a move) and started. It watches the
// grid's layer for the drag's events.
class OpenDrop : public QObject
{
    Q_OBJECT

public:
    struct Links {
        // The group the grid shows.
        std::function<const GroupModel &()> group;
        // Registration mode takes drops itself.
        std::function<bool()> registering;
        // Starts one launch, as a click does.
        std::function<void(LaunchRequest)> start;
    };
    // A drop that would start more instances than `unasked` asks first, in
    // a box over `bar`.
    OpenDrop(EntryGrid *grid, QWidget *bar, qsizetype unasked, Links links);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void showAt(const QPoint &pos);
    void end();
    // Starts entry `index`'s program once per launch (asking first for many).
    void openDropped(qsizetype index, const QString &line, const QList<DropLaunch> &launches);

    EntryGrid *m_grid;
    QWidget *m_bar;
    qsizetype m_unasked;
    Links m_links;
    QList<DroppedItem> m_items;      // the drag's URLs, typed once at its entry
    QPointer<LaunchButton> m_button; // the button under it, when it takes it
    qsizetype m_index = -2;          // the entry under it; -1 for none, -2 not yet looked at
    QList<DropLaunch> m_launches;    // what a drop there starts; empty: refused
};
