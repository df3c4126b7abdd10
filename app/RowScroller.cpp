// SPDX-License-Identifier: MIT
#include "app/RowScroller.h"

#include "app/Plate.h"
#include "core/layout/RowScroll.h"
#include "launcher/IconLayer.h"
#include "launcher/LaunchButton.h"

#include <QApplication>
#include <QDragMoveEvent>
#include <QVariantAnimation>
#include <QWheelEvent>

namespace {

// The layer's rows, unscrolled: the first slot of each stands for its row.
RowScroll rowScroll(const IconLayer &layer)
{
    const SlotGrid grid = layer.grid();
    QList<QRect> rects;
    rects.reserve(grid.rows());
    for (qsizetype row = 0; row < grid.rows(); ++row)
        rects.append(grid.rect(row * grid.columns()));
    return RowScroll(rects, layer.height(), layer.padding());
}

// A carried button nearing the top or bottom edge scrolls the rows, so it
// can be put anywhere in the group.
constexpr int kDragEdge = 8;

} // namespace

RowScroller::RowScroller(IconLayer *layer, Plate *plate, QObject *parent)
    : QObject(parent)
    , m_layer(layer)
    , m_plate(plate)
    , m_glide(new QVariantAnimation(this))
{
    m_glide->setDuration(kGlideMsecs);
    m_glide->setEasingCurve(QEasingCurve::OutCubic);
    connect(m_glide, &QVariantAnimation::valueChanged, this, [this](const QVariant &value) {
        m_layer->setScrollOffset(value.toInt());
        showMarks();
    });
    // Items that moved meanwhile may have left the end elsewhere.
    connect(m_glide, &QVariantAnimation::finished, this, &RowScroller::arranged);
    connect(m_layer, &IconLayer::arranged, this, &RowScroller::arrangedSoon);
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget *, QWidget *now) { focusChanged(now); });
    m_layer->installEventFilter(this);
}

int RowScroller::limit() const
{
    return rowScroll(*m_layer).limit();
}

void RowScroller::scrollRows(int notches)
{
    // From where the rows are going, so quick notches add up.
    scrollTo(rowScroll(*m_layer).stepped(m_target, notches));
}

void RowScroller::ensureVisible(const QWidget *item)
{
    const qsizetype slot = item ? m_layer->items().indexOf(item) : -1;
    if (slot >= 0)
        scrollTo(rowScroll(*m_layer).showing(m_target, m_layer->grid().rect(slot)));
}

void RowScroller::toTop()
{
    m_glide->stop();
    m_target = 0;
    m_layer->setScrollOffset(0);
    showMarks();
}

void RowScroller::scrollTo(int offset)
{
    m_target = offset;
    m_glide->stop();
    if (offset == m_layer->scrollOffset()) {
        showMarks();
        return;
    }
    m_glide->setStartValue(m_layer->scrollOffset());
    m_glide->setEndValue(offset);
    m_glide->start();
}

void RowScroller::arrangedSoon()
{
    // A group of a thousand entries is arranged a thousand times as it loads.
    if (m_pending)
        return;
    m_pending = true;
    QMetaObject::invokeMethod(this, &RowScroller::arranged, Qt::QueuedConnection);
}

void RowScroller::arranged()
{
    if (m_glide->state() == QAbstractAnimation::Running)
        return;
    m_pending = false;
    // Fewer rows, or a taller bar: the rows come down to fill the view.
    const int offset = rowScroll(*m_layer).clamp(m_layer->scrollOffset());
    m_target = offset;
    m_layer->setScrollOffset(offset);
    showMarks();
}

void RowScroller::showMarks()
{
    if (m_layer->isHidden())
        return;
    const int offset = m_layer->scrollOffset();
    m_plate->setRowsBeyond(offset > 0, offset < limit());
}

void RowScroller::focusChanged(QWidget *now)
{
    // Only a focus the keyboard moved: a group's load puts the focus on its
    // last button, and the rows should still open at the top.
    auto *button = qobject_cast<LaunchButton *>(now);
    if (button && button->showsFocusRing() && m_layer->items().contains(button))
        ensureVisible(button);
}

bool RowScroller::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_layer)
        return false;
    if (event->type() == QEvent::Show)
        showMarks();
    if (event->type() == QEvent::Wheel) {
        auto *wheel = static_cast<QWheelEvent *>(event);
        m_wheelAngle += wheel->angleDelta().y();
        const int notches = m_wheelAngle / QWheelEvent::DefaultDeltasPerStep;
        m_wheelAngle -= notches * QWheelEvent::DefaultDeltasPerStep;
        // Turning the wheel towards oneself moves the view down the rows.
        if (notches != 0)
            scrollRows(-notches);
        event->accept();
        return true;
    }
    if (event->type() == QEvent::DragMove && m_glide->state() != QAbstractAnimation::Running) {
        const int y = static_cast<QDragMoveEvent *>(event)->position().toPoint().y();
        if (y < kDragEdge)
            scrollRows(-1);
        else if (y >= m_layer->height() - kDragEdge)
            scrollRows(1);
    }
    return false;
}
