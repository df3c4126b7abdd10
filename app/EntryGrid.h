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
// buttons in rows that wrap on an icon layer, row i in the layer's slot i,
// and follows the model's changes. Only the rows in sight and a row either
// side have buttons, and the one with the focus or carried: the others are
// made as they scroll into sight, from the buttons that scroll out. It
// alone makes buttons: it gives them their icons, hints and screen-reader
// names, moves the keyboard focus among them (an entry out of sight is
// made and scrolled to when it gets the focus) and scrolls its rows inside
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
    // The rows again, from the model as it stands.
    void rebuild();
    // Takes every button off the layer; they wait to be reused.
    void clear();

    // The layer has been painted once: icons out of sight may follow.
    void layerPainted();

    // One per row: the row's button, or null while the row is out of sight.
    const QList<LaunchButton *> &buttons() const { return m_buttons; }
    // Row `row`'s button, made now if the row is out of sight. It goes
    // again once it is out of sight without the focus.
    LaunchButton *buttonFor(qsizetype row);
    qsizetype rowOf(const LaunchButton *button) const;
    // The row whose button is at `pos` on the layer; -1 for none.
    qsizetype rowAt(const QPoint &pos) const;

    // While a button is carried, the layer shows where it would land: the
    // carried row's button in slot `slot`, the others making room. The
    // preview ends with the next change of the model, or when the button is
    // shown at its own row's slot again.
    void previewAt(const LaunchButton *carried, qsizetype slot);
    // The layer's slot showing `button`; -1 for none.
    qsizetype slotOf(const LaunchButton *button) const;

    IconLayer *layer() const { return m_layer; }
    RowScroller *scroller() const { return m_scroller; }
    IconQueue *icons() const { return m_icons; }

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
    bool launchButtonFocusStep(LaunchButton *button, FlowStep step) override;
    void launchButtonStyleChanged(LaunchButton *button) override;

    void rowsInserted(const QModelIndex &parent, int first, int last);
    void rowsRemoved(const QModelIndex &parent, int first, int last);
    void rowsMoved(const QModelIndex &parent, int from, int, const QModelIndex &, int before);
    void dataChanged(const QModelIndex &topLeft, const QModelIndex &bottomRight, const QList<int> &roles);

    // Buttons for the rows in sight and a row either side; the buttons of
    // the rows beyond go spare, but for one in use.
    void realize();
    // A button for `row`, which has none, in its slot.
    LaunchButton *AddLaunchButton(qsizetype row);
    // `stamp`: the StampRole of the button's row.
    void applyIcon(LaunchButton *button, const QVariant &stamp);
    void hideSpares();
    int buttonSide() const;
    // Between the model's rows and the layer's slots, which differ only
    // while a preview shows a carried row elsewhere.
    qsizetype slotOfRow(qsizetype row) const;
    qsizetype rowOfSlot(qsizetype slot) const;
    void endPreview();

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
    qsizetype m_previewRow = -1;  // the carried row, while shown elsewhere
    qsizetype m_previewSlot = -1; // where it is shown
    bool m_realizing = false;
};
