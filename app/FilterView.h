// SPDX-License-Identifier: MIT
#pragma once

#include "core/filter/EntrySearch.h"
#include "core/groups/GroupFile.h"
#include "launcher/LaunchButtonHost.h"

#include <QColor>
#include <QList>
#include <QObject>
#include <QPointer>

#include <array>

class GroupSet;
class IconLayer;
class IconQueue;
class LaunchButton;
class Plate;
class QLabel;
class RowScroller;
class QWidget;

// How the bar builds its buttons, for the filter's to look the same.
struct FilterButtonLook {
    int iconSide = 0;
    int padding = 0;
    int corner = 0;
    int glowNo = 0;
    QColor glowColor;
    bool hints = false;
};

// The bar while a filter is typed: a layer of its own, laid over the bar's
// icon layer, with a button for each match (up to kMostShown), rows that
// scroll inside the plate as the group's do, and the filter's text on the
// plate. The bar's own layer is only hidden, so closing the view shows the
// group exactly as it was. Buttons are kept and reused from one key to the
// next.
class FilterView : public QObject, private LaunchButtonHost
{
    Q_OBJECT

public:
    FilterView(QWidget *bar, IconLayer *barLayer, Plate *plate, const GroupSet &groups);

    // The matches that get a button; Ctrl+1 to Ctrl+9 and the count still
    // cover them all, and a few more letters bring the rest within reach.
    static constexpr qsizetype kMostShown = 300;

    bool isOpen() const { return m_open; }
    // Lays the view over the bar's layer and hides that.
    void open(const FilterButtonLook &look);
    // Leaves the focus to the caller.
    void close();
    // The matches, in order; the first kMostShown get a button. The rows
    // start at the top and the first takes the focus.
    void showMatches(const QList<EntryRef> &matches);
    void showText(const QString &text, const QString &preedit);
    // Follows the bar's layer after a resize.
    void followBarLayer();
    // Where the typed text ends, in the bar's coordinates: the input
    // method's candidate window opens there.
    QRect textCursorRect() const;
    const QList<EntryRef> &matches() const { return m_matches; }
    const QList<LaunchButton *> &buttons() const { return m_buttons; }
    QLabel *textLabel() const { return m_label; }

Q_SIGNALS:
    void launchRequested(EntryRef entry);

private:
    void launchButtonClicked(LaunchButton *button) override;
    void launchButtonEntered(LaunchButton *) override {}
    void launchButtonMenuRequested(LaunchButton *, const QPoint &) override {}
    void launchButtonDragRequested(LaunchButton *, const QPoint &) override {}
    void launchButtonFocusStep(LaunchButton *button, FlowStep step) override;
    void launchButtonStyleChanged(LaunchButton *button) override;
    void placeLabel();

    QWidget *m_bar;
    IconLayer *m_barLayer;
    const GroupSet &m_groups;
    IconLayer *m_layer;
    IconQueue *m_icons;
    RowScroller *m_scroller;
    QLabel *m_label;
    FilterButtonLook m_look;
    QList<EntryRef> m_matches;
    QList<LaunchButton *> m_buttons; // the shown ones: button i stands for match i
    QList<LaunchButton *> m_spare;
    bool m_open = false;
};
