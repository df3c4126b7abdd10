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
    m_items.append(item);
    // Only the new item moves: the ones before it keep their places.
    QList<QSize> sizes;
    sizes.reserve(m_items.size());
    for (QWidget *each : std::as_const(m_items))
        sizes.append(each->size());
    item->move(placeFlow(sizes, width(), m_spacing).constLast().topLeft());
    item->show();
}

void FlowLayout::clearItems()
{
    for (QWidget *item : std::as_const(m_items))
        item->hide();
    m_items.clear();
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
    QList<QSize> sizes;
    sizes.reserve(m_items.size());
    for (QWidget *item : std::as_const(m_items))
        sizes.append(item->size());
    const QList<QRect> rects = placeFlow(sizes, width(), m_spacing);
    for (qsizetype i = 0; i < m_items.size(); ++i)
        m_items[i]->move(rects[i].topLeft());
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
