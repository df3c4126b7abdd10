// SPDX-License-Identifier: MIT
// Arranging the bar by hand: a button dragged to a new place (or out, to
// another program, as its file), and the keys that move the focus between
// buttons.
#include "app/Unit1.h"

#include "launcher/IconLayer.h"
#include "launcher/LaunchButton.h"

#include <QDrag>
#include <QDragMoveEvent>
#include <QMimeData>
#include <QPainter>
#include <QUrl>

bool TForm1::moveEntry(qsizetype from, qsizetype to)
{
    return bool(LaunchPath.move(m_menuIndex, from, to));
}

qsizetype TForm1::buttonIndexAt(const QPoint &pos) const
{
    return m_grid->rowAt(FlowLayout1->mapFrom(this, pos));
}

void TForm1::launchButtonDragRequested(LaunchButton *button, const QPoint &hotSpot)
{
    const qsizetype from = m_grid->rowOf(button);
    if (from < 0 || m_arrange.button)
        return;
    const qreal dpr = devicePixelRatioF();
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

    m_arrange = {button, from, false};
    const QPointer<LaunchButton> carried(button);
    button->setLifted(true);
    // Copy and link only: another program must never move the user's file
    // away. Whatever it does, the bar keeps its entry.
    drag->exec(Qt::CopyAction | Qt::LinkAction, Qt::CopyAction);
    const bool dropped = m_arrange.dropped;
    m_arrange = {};
    // A hand edit held back during the drag, and not merged by a save.
    lookAtHandEditsSoon();
    if (!carried)
        return;
    carried->setLifted(false);
    const qsizetype shown = FlowLayout1->items().indexOf(carried.data());
    if (shown < 0)
        return;
    // Released outside the bar, dropped into another program or called off
    // with Escape: the button goes back where it stood.
    if (!dropped || !moveEntry(from, shown))
        FlowLayout1->moveItem(shown, from);
}

bool TForm1::handleArrangeDrag(QEvent *event)
{
    LaunchButton *button = m_arrange.button.data();
    auto *drop = static_cast<QDropEvent *>(event);
    const bool ours = event->type() == QEvent::DragLeave || (button && drop->source() == button);
    if (!ours) {
        event->ignore();
        return true;
    }
    const qsizetype shown = button ? FlowLayout1->items().indexOf(button) : -1;
    if (shown < 0) {
        event->ignore();
        return true;
    }
    switch (event->type()) {
    case QEvent::DragLeave:
        FlowLayout1->moveItem(shown, m_arrange.from);
        return true;
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop: {
        // The others make room where it would land.
        const qsizetype slot = nearestSlot(FlowLayout1->itemRects(), drop->position().toPoint());
        if (slot >= 0)
            FlowLayout1->moveItem(shown, slot);
        if (event->type() == QEvent::Drop)
            m_arrange.dropped = true;
        drop->acceptProposedAction();
        return true;
    }
    default:
        return false;
    }
}
