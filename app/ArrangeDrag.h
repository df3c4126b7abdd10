// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>
#include <QPointer>

#include <functional>

class EntryGrid;
class LaunchButton;
class QPoint;

// Arranging by hand: a button picked up and carried. Over the bar the
// others make room where it would land (the layer previews the new order);
// released there, the entry moves; outside the bar its file is offered to
// other programs, copied or linked only, and the button goes back. It
// watches the grid's layer for the drag's events while one runs.
class ArrangeDrag : public QObject
{
    Q_OBJECT

public:
    // `moveEntry` makes the move the user chose (and saves it); false when
    // it did not happen. `ended` runs after every drag, whatever became of it.
    ArrangeDrag(EntryGrid *grid, std::function<bool(qsizetype from, qsizetype to)> moveEntry,
                std::function<void()> ended, QObject *parent);

    // A button is being carried.
    bool isRunning() const { return !m_button.isNull(); }
    // Picks `button` up at `hotSpot`; returns once the drag has ended.
    void start(LaunchButton *button, const QPoint &hotSpot);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    EntryGrid *m_grid;
    std::function<bool(qsizetype, qsizetype)> m_moveEntry;
    std::function<void()> m_ended;
    QPointer<LaunchButton> m_button;
    qsizetype m_from = -1;  // its place when picked up
    bool m_dropped = false; // released over the bar
};
