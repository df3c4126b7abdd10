// SPDX-License-Identifier: MIT
#include "launcher/FlowLayout.h"

#include "launcher/IconLayerEffect.h"
#include "launcher/LaunchButton.h"

#include <QPainter>
#include <QPaintEvent>

FlowLayout::FlowLayout(QWidget *parent)
    : QWidget(parent)
    , m_effect(new IconLayerEffect(this))
{
    setGraphicsEffect(m_effect);
}

void FlowLayout::addItem(QWidget *item)
{
    item->setParent(this);
    // A resize may not have reached us yet (it waits while we are hidden).
    if (m_cursorWidth != width())
        relayout();
    m_items.append(item);
    // Only the new item is placed: the ones before it keep their places.
    item->move(m_cursor.place(item->size()).topLeft());
    item->show();
}

void FlowLayout::clearItems()
{
    for (QWidget *item : std::as_const(m_items))
        item->hide();
    m_items.clear();
    m_cursor = FlowCursor(width(), m_spacing);
    m_cursorWidth = width();
    update();
}

void FlowLayout::removeItem(QWidget *item)
{
    if (!m_items.removeOne(item))
        return;
    item->hide();
    relayout();
    update();
}

void FlowLayout::setHorizontalGap(int gap)
{
    if (m_spacing.gapH == gap)
        return;
    m_spacing.gapH = gap;
    relayout();
}

void FlowLayout::setVerticalGap(int gap)
{
    if (m_spacing.gapV == gap)
        return;
    m_spacing.gapV = gap;
    relayout();
}

qreal FlowLayout::opacity() const
{
    return m_effect->opacity();
}

void FlowLayout::setOpacity(qreal opacity)
{
    m_effect->setOpacity(opacity);
}

void FlowLayout::relayout()
{
    m_cursor = FlowCursor(width(), m_spacing);
    m_cursorWidth = width();
    for (QWidget *item : std::as_const(m_items))
        item->move(m_cursor.place(item->size()).topLeft());
    update();
}

void FlowLayout::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    painter.setClipRegion(event->region());
    // Later buttons lie above earlier ones, as their widgets do.
    for (QWidget *item : std::as_const(m_items)) {
        auto *button = qobject_cast<LaunchButton *>(item);
        if (button && button->isVisible() && event->region().intersects(button->paintRect()))
            button->paintButton(painter);
    }
}

void FlowLayout::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    relayout();
}
