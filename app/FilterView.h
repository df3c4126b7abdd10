// SPDX-License-Identifier: MIT
#pragma once

#include "core/filter/EntrySearch.h"

#include <QList>
#include <QObject>

class EntryGrid;
class GroupSet;
class IconLayer;
class LaunchButton;
class MatchModel;
class Plate;
class QLabel;
class QWidget;
struct EntryLook;

// The bar while a filter is typed: a layer of its own, laid over the bar's
// icon layer, showing the matches (up to kMostShown) as the bar shows a
// group (EntryGrid over MatchModel), and the filter's text on the plate.
// The bar's own layer is only hidden, so closing the view shows the group
// exactly as it was.
class FilterView : public QObject
{
    Q_OBJECT

public:
    FilterView(QWidget *bar, IconLayer *barLayer, Plate *plate, const GroupSet &groups);

    // The matches that get a button; Ctrl+1 to Ctrl+9 and the count still
    // cover them all, and a few more letters bring the rest within reach.
    static constexpr qsizetype kMostShown = 300;

    bool isOpen() const { return m_open; }
    // Lays the view over the bar's layer and hides that.
    void open(const EntryLook &look);
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
    const QList<LaunchButton *> &buttons() const;
    QLabel *textLabel() const { return m_label; }

Q_SIGNALS:
    void launchRequested(EntryRef entry);

private:
    void placeLabel();

    QWidget *m_bar;
    IconLayer *m_barLayer;
    IconLayer *m_layer;
    MatchModel *m_shown;
    EntryGrid *m_grid;
    QLabel *m_label;
    QList<EntryRef> m_matches;
    bool m_open = false;
};
