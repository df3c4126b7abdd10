// SPDX-License-Identifier: MIT
#pragma once

#include "launcher/LaunchButtonHost.h"

#include <QColor>
#include <QList>
#include <QObject>

#include <functional>

class IconLayer;
class IconQueue;
class LaunchButton;
class Plate;
class QAbstractItemModel;
class QModelIndex;
class QVariant;
class RowScroller;
struct TRec;

// How a grid's buttons look, from the bar's settings.
struct EntryLook {
    int iconSide = 0;
    int padding = 0;
    int corner = 0;
    int glowNo = 0;
    QColor glowColor;
    bool hints = false;
};

// Shows an item model of entries (rows with GroupModel's roles) as launch
// buttons in rows that wrap on an icon layer, button i for row i, and
// follows the model's changes. It alone makes buttons: it reuses them from
// one reset to the next, gives them their icons, hints and screen-reader
// names, moves the keyboard focus among them and scrolls its rows inside
// the plate. What a button asks beyond that goes to the links.
class EntryGrid : public QObject, private LaunchButtonHost
{
    Q_OBJECT

public:
    struct Links {
        std::function<void(LaunchButton *)> clicked;
        std::function<void(LaunchButton *)> entered;
        std::function<void(LaunchButton *, const QPoint &globalPos)> menuRequested;
        std::function<void(LaunchButton *, const QPoint &hotSpot)> dragRequested;
    };
    // A group's rows, built anew, leave the focus on the last button and
    // make a few icons at once; the filter's matches focus the first, with
    // its ring (Enter opens it), start at the top row and make no icon at
    // once, so that a key is answered without waiting for one.
    enum class Kind { Group, Matches };

    EntryGrid(IconLayer *layer, Plate *plate, Kind kind, Links links, QObject *parent);

    // The rows of `model` from now. No button is made until the model is
    // reset or rebuild() runs: a group is read just after it is chosen.
    void setModel(const QAbstractItemModel *model);
    const EntryLook &look() const { return m_look; }
    // Takes effect at the next build.
    void setLook(const EntryLook &look) { m_look = look; }
    // Every row's button again, from the model as it stands.
    void rebuild();
    // Takes every button off the layer; they wait to be reused.
    void clear();

    // Until the layer has been painted once, a build makes only the buttons
    // in sight; the rest follow right after the paint, or before any input.
    void layerPainted();

    // Button i stands for row i (all rows, once the paint above is done).
    const QList<LaunchButton *> &buttons() const { return m_buttons; }
    qsizetype rowOf(const LaunchButton *button) const;
    // The row whose button is at `pos` on the layer; -1 for none.
    qsizetype rowAt(const QPoint &pos) const;

    IconLayer *layer() const { return m_layer; }
    RowScroller *scroller() const { return m_scroller; }

Q_SIGNALS:
    // The buttons went off the layer: one remembered may stand for another
    // entry next.
    void cleared();

private:
    // A button's hint: `hint` as hints are on or off, and for a file that
    // is not there, always that it is not.
    static QString hintText(const QString &hint, bool hintsOn, const QString &missingFile);
    // A button's name and description for screen readers, from its entry.
    static void describe(LaunchButton *button, const TRec &entry);

    void launchButtonClicked(LaunchButton *button) override;
    void launchButtonEntered(LaunchButton *button) override;
    void launchButtonMenuRequested(LaunchButton *button, const QPoint &globalPos) override;
    void launchButtonDragRequested(LaunchButton *button, const QPoint &hotSpot) override;
    void launchButtonFocusStep(LaunchButton *button, FlowStep step) override;
    void launchButtonStyleChanged(LaunchButton *button) override;

    void rowsInserted(const QModelIndex &parent, int first, int last);
    void rowsRemoved(const QModelIndex &parent, int first, int last);
    void rowsMoved(const QModelIndex &parent, int from, int, const QModelIndex &, int before);
    void dataChanged(const QModelIndex &topLeft, const QModelIndex &bottomRight, const QList<int> &roles);

    // A button for `row` at the end of the layer.
    LaunchButton *AddLaunchButton(int row);
    void moveButton(qsizetype from, qsizetype to);
    // `stamp`: the StampRole of the button's row.
    void applyIcon(LaunchButton *button, const QVariant &stamp);
    void makeWaitingButtons();
    void stopWaiting();

    IconLayer *m_layer;
    IconQueue *m_icons;
    RowScroller *m_scroller;
    const QAbstractItemModel *m_model = nullptr;
    QList<QMetaObject::Connection> m_modelConnections;
    Kind m_kind;
    Links m_links;
    EntryLook m_look;
    QList<LaunchButton *> m_buttons;
    QList<LaunchButton *> m_spare; // off the layer, waiting to be reused
    static constexpr qsizetype kMaxSpare = 4096;
    bool m_painted = false;
    bool m_building = false;      // a build is adding buttons: the focus moves once, at its end
    qsizetype m_waitingFrom = -1; // rows from here on wait for the first paint; -1: none
    QObject *m_inputWatch = nullptr;
};
