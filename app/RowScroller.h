// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>

class IconLayer;
class Plate;
class QVariantAnimation;
class QWidget;

// Scrolls the bar's rows inside the plate when they do not all fit: a
// notch of the wheel moves one row, smoothly; the button the keyboard
// focuses is brought into view; the plate marks where rows lie beyond its
// edges. Layers that take turns on one plate each have a scroller: only
// the shown one marks the plate, so the one hidden keeps its place for
// when it shows again.
class RowScroller : public QObject
{
    Q_OBJECT

public:
    RowScroller(IconLayer *layer, Plate *plate, QObject *parent = nullptr);

    // One row a notch; down for positive `notches`.
    void scrollRows(int notches);
    // Scrolls just enough to show the whole of `item`, one of the layer's.
    void ensureVisible(const QWidget *item);
    // Back to the first row at once, for a layer given new items.
    void toTop();
    // Where the rows are going: the offset they rest at once the scroll ends.
    int targetOffset() const { return m_target; }
    // How far the rows can scroll; 0 when they all fit.
    int limit() const;
    // A short glide between two offsets; no timer runs once it has stopped.
    static constexpr int kGlideMsecs = 140;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void scrollTo(int offset);
    void arrangedSoon();
    void arranged();
    void showMarks();
    void focusChanged(QWidget *now);

    IconLayer *m_layer;
    Plate *m_plate;
    QVariantAnimation *m_glide;
    int m_target = 0;
    int m_wheelAngle = 0;   // a wheel's turn short of a notch, as touchpads send it
    bool m_pending = false; // an update after the items moved is queued
};
