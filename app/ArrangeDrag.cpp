// SPDX-License-Identifier: MIT
#include "app/ArrangeDrag.h"

#include "app/EntryGrid.h"
#include "core/layout/FlowPlacement.h"
#include "launcher/IconLayer.h"
#include "launcher/LaunchButton.h"

#include <QDrag>
#include <QDropEvent>
#include <QMimeData>
#include <QPainter>
#include <QUrl>

ArrangeDrag::ArrangeDrag(EntryGrid *grid, std::function<bool(qsizetype, qsizetype)> moveEntry,
                         std::function<void()> ended, QObject *parent)
    : QObject(parent)
    , m_grid(grid)
    , m_moveEntry(std::move(moveEntry))
    , m_ended(std::move(ended))
{
    grid->layer()->installEventFilter(this);
}

void ArrangeDrag::start(LaunchButton *button, const QPoint &hotSpot)
{
    const qsizetype from = m_grid->rowOf(button);
    if (from < 0 || isRunning())
        return;
    IconLayer *layer = m_grid->layer();
    const qreal dpr = layer->devicePixelRatioF();
    QPixmap image(button->size() * dpr);
    image.setDevicePixelRatio(dpr);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        painter.translate(-button->pos());
        button->paintButton(painter);
    }
    auto *data = new QMimeData;
    data->setUrls({QUrl::fromLocalFile(button->filePath())});
    auto *drag = new QDrag(button);
    drag->setMimeData(data);
    drag->setPixmap(image);
    drag->setHotSpot(hotSpot);

    m_button = button;
    m_from = from;
    m_dropped = false;
    const QPointer<LaunchButton> carried(button);
    button->setLifted(true);
    // Copy and link only: another program must never move the user's file
    // away. Whatever it does, the bar keeps its entry.
    drag->exec(Qt::CopyAction | Qt::LinkAction, Qt::CopyAction);
    const bool dropped = m_dropped;
    m_button = nullptr;
    if (m_ended)
        m_ended();
    if (!carried)
        return;
    carried->setLifted(false);
    const qsizetype shown = m_grid->slotOf(carried.data());
    if (shown < 0)
        return;
    // Released outside the bar, dropped into another program or called off
    // with Escape: the button goes back where it stood.
    if (!dropped || !m_moveEntry(from, shown))
        m_grid->previewAt(carried.data(), from);
}

bool ArrangeDrag::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::DragLeave:
    case QEvent::Drop:
        break;
    default:
        return false;
    }
    // Only one drag runs at a time: files from elsewhere are not ours.
    if (!isRunning())
        return false;
    IconLayer *layer = m_grid->layer();
    auto *drop = static_cast<QDropEvent *>(event);
    const bool ours = event->type() == QEvent::DragLeave || drop->source() == m_button;
    const qsizetype shown = m_grid->slotOf(m_button.data());
    if (!ours || shown < 0 || watched != layer) {
        event->ignore();
        return true;
    }
    if (event->type() == QEvent::DragLeave) {
        m_grid->previewAt(m_button.data(), m_from);
        return true;
    }
    // The others make room where it would land.
    const qsizetype slot = nearestSlot(layer->itemRects(), drop->position().toPoint());
    if (slot >= 0)
        m_grid->previewAt(m_button.data(), slot);
    if (event->type() == QEvent::Drop)
        m_dropped = true;
    drop->acceptProposedAction();
    return true;
}
