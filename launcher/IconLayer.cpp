// SPDX-License-Identifier: MIT
#include "launcher/IconLayer.h"

#include "launcher/GlowImages.h"
#include "launcher/IconLayerEffect.h"
#include "launcher/LaunchButton.h"

#include <QPainter>
#include <QPaintEvent>

IconLayer::IconLayer(QWidget *parent)
    : QWidget(parent)
    , m_effect(new IconLayerEffect(this))
{
    connect(m_effect, &IconLayerEffect::changed, this, qOverload<>(&QWidget::update));
}

void IconLayer::resetSlots(qsizetype count, QSize size)
{
    m_items = QList<QWidget *>(std::max<qsizetype>(count, 0), nullptr);
    m_slotSize = size;
    m_shadowAlpha = QImage();
    m_scrollOffset = 0;
    update();
    Q_EMIT arranged();
}

void IconLayer::setItem(qsizetype slot, QWidget *item)
{
    if (slot < 0 || slot >= m_items.size() || !item)
        return;
    // A reused button is ours already; setting the same parent again would
    // hide it and send events for nothing.
    if (item->parentWidget() != this)
        item->setParent(this);
    m_items[slot] = item;
    m_shadowAlpha = QImage();
    place(slot);
    item->show();
    update(item->geometry());
    Q_EMIT arranged();
}

QWidget *IconLayer::takeItem(qsizetype slot)
{
    QWidget *item = m_items.value(slot);
    if (!item)
        return nullptr;
    m_items[slot] = nullptr;
    m_shadowAlpha = QImage();
    update(item->geometry());
    return item;
}

void IconLayer::addItem(QWidget *item)
{
    if (m_items.isEmpty())
        m_slotSize = item->size();
    m_items.append(nullptr);
    setItem(m_items.size() - 1, item);
}

void IconLayer::insertSlots(qsizetype slot, qsizetype count)
{
    if (slot < 0 || slot > m_items.size() || count <= 0)
        return;
    m_items.insert(slot, count, nullptr);
    relayout();
}

void IconLayer::removeSlots(qsizetype slot, qsizetype count)
{
    if (slot < 0 || count <= 0 || slot + count > m_items.size())
        return;
    for (qsizetype i = slot; i < slot + count; ++i) {
        if (m_items.at(i))
            m_items.at(i)->hide();
    }
    m_items.remove(slot, count);
    relayout();
}

void IconLayer::moveItem(qsizetype from, qsizetype to)
{
    if (from == to || from < 0 || to < 0 || from >= m_items.size() || to >= m_items.size())
        return;
    m_items.move(from, to);
    relayout();
}

SlotGrid IconLayer::grid() const
{
    return SlotGrid(m_items.size(), m_slotSize, width(), m_spacing);
}

QRect IconLayer::slotRect(qsizetype slot) const
{
    return grid().rect(slot).translated(0, -m_scrollOffset);
}

QList<QRect> IconLayer::itemRects() const
{
    QList<QRect> rects = grid().rects();
    for (QRect &rect : rects)
        rect.translate(0, -m_scrollOffset);
    return rects;
}

qsizetype IconLayer::slotAt(QPoint pos) const
{
    const auto [first, last] = slotsInSight(0);
    for (qsizetype slot = first; slot <= last; ++slot) {
        if (slotRect(slot).contains(pos))
            return slot;
    }
    return -1;
}

std::pair<qsizetype, qsizetype> IconLayer::slotsInSight(int margin) const
{
    return grid().slotsShowing(m_scrollOffset, height(), margin);
}

void IconLayer::setHorizontalGap(int gap)
{
    if (m_spacing.gapH == gap)
        return;
    m_spacing.gapH = gap;
    relayout();
    Q_EMIT sightChanged();
}

void IconLayer::setVerticalGap(int gap)
{
    if (m_spacing.gapV == gap)
        return;
    m_spacing.gapV = gap;
    relayout();
    Q_EMIT sightChanged();
}

qreal IconLayer::opacity() const
{
    return m_effect->opacity();
}

void IconLayer::setOpacity(qreal opacity)
{
    m_effect->setOpacity(opacity);
}

void IconLayer::relayout()
{
    m_shadowAlpha = QImage();
    for (qsizetype slot = 0; slot < m_items.size(); ++slot)
        place(slot);
    update();
    Q_EMIT arranged();
}

void IconLayer::place(qsizetype slot)
{
    if (QWidget *item = m_items.at(slot))
        item->move(slotRect(slot).topLeft());
}

void IconLayer::setScrollOffset(int offset)
{
    if (m_scrollOffset == offset)
        return;
    const QPoint by(0, m_scrollOffset - offset);
    m_scrollOffset = offset;
    m_shadowAlpha = QImage();
    for (QWidget *item : std::as_const(m_items)) {
        if (item)
            item->move(item->pos() + by);
    }
    update();
    Q_EMIT sightChanged();
}

void IconLayer::paintEvent(QPaintEvent *event)
{
    const qreal opacity = m_effect->opacity();
    if (opacity <= 0 || m_items.isEmpty())
        return;
    QPainter painter(this);
    if (opacity >= 1) {
        paintLayer(painter, event->region());
        return;
    }
    // Faded as one layer, so the shadow does not show through the buttons.
    const qreal dpr = devicePixelRatioF();
    QPixmap layer(size() * dpr);
    layer.setDevicePixelRatio(dpr);
    layer.fill(Qt::transparent);
    {
        QPainter layerPainter(&layer);
        paintLayer(layerPainter, event->region());
    }
    painter.setOpacity(opacity);
    painter.drawPixmap(0, 0, layer);
}

void IconLayer::paintLayer(QPainter &painter, const QRegion &region)
{
    painter.setClipRegion(region);
    if (m_effect->shadowEnabled() && m_effect->shadowColor().alpha() > 0) {
        const int blur = IconLayerEffect::kShadowBlur;
        // A turning button's shadow turns with it; the still ones share one
        // image, made again only when a button starts or stops turning.
        QList<const LaunchButton *> turning;
        for (QWidget *item : std::as_const(m_items)) {
            const auto *button = qobject_cast<LaunchButton *>(item);
            if (button && button->isVisible() && button->rotationAngle() != 0 && inSight(button))
                turning.append(button);
        }
        if (turning != m_turningButtons) {
            m_turningButtons = turning;
            m_shadowAlpha = QImage();
        }
        painter.save();
        painter.setOpacity(painter.opacity() * IconLayerEffect::kShadowOpacity);
        painter.drawImage(IconLayerEffect::shadowOffset() - QPointF(blur, blur), shadowImage());
        for (const LaunchButton *button : std::as_const(turning))
            paintTurningShadow(painter, *button);
        painter.restore();
    }
    // Later buttons lie above earlier ones, as their widgets do.
    bool iconsWanted = false;
    for (QWidget *item : std::as_const(m_items)) {
        auto *button = qobject_cast<LaunchButton *>(item);
        if (button && button->isVisible() && region.intersects(button->paintRect()) && inSight(button)) {
            button->paintButton(painter);
            iconsWanted = iconsWanted || button->iconWanted();
        }
    }
    if (iconsWanted)
        Q_EMIT this->iconsWanted();
}

bool IconLayer::inSight(const QWidget *item) const
{
    const QRect geometry = item->geometry();
    const int shown = (geometry & rect()).height();
    return shown == geometry.height() || shown > m_spacing.padding;
}

const QImage &IconLayer::shadowImage()
{
    const int blur = IconLayerEffect::kShadowBlur;
    if (m_shadowAlpha.isNull()) {
        QImage shapes(size() + QSize(2 * blur, 2 * blur), QImage::Format_ARGB32_Premultiplied);
        shapes.fill(Qt::transparent);
        QPainter p(&shapes);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::black);
        for (QWidget *item : std::as_const(m_items)) {
            auto *button = qobject_cast<LaunchButton *>(item);
            if (!button || m_turningButtons.contains(button) || !inSight(button))
                continue;
            const qreal r = button->cornerRadius();
            p.drawRoundedRect(QRectF(button->geometry().translated(blur, blur)), r, r);
        }
        p.end();
        m_shadowAlpha = shapes.convertToFormat(QImage::Format_Alpha8);
        blurAlpha(m_shadowAlpha, blur);
        m_shadowImage = QImage();
    }
    const QRgb tint = m_effect->shadowColor().rgba();
    // Opaque black is the coverage itself as a painter draws it: no tinted
    // copy of the layer's size is kept.
    if (tint == qRgba(0, 0, 0, 255)) {
        m_shadowImage = QImage();
        return m_shadowAlpha;
    }
    if (m_shadowImage.isNull() || m_shadowTint != tint) {
        m_shadowImage = tintedAlpha(m_shadowAlpha, m_effect->shadowColor());
        m_shadowTint = tint;
    }
    return m_shadowImage;
}

void IconLayer::paintTurningShadow(QPainter &painter, const LaunchButton &button)
{
    const int blur = IconLayerEffect::kShadowBlur;
    const QRgb tint = m_effect->shadowColor().rgba();
    const QSize size = button.size();
    const int radius = button.cornerRadius();
    if (m_turningShadow.isNull() || m_turningShadowSize != size || m_turningShadowRadius != radius
        || m_turningShadowTint != tint) {
        QImage shape(size + QSize(2 * blur, 2 * blur), QImage::Format_ARGB32_Premultiplied);
        shape.fill(Qt::transparent);
        QPainter p(&shape);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::black);
        p.drawRoundedRect(QRectF(QPointF(blur, blur), QSizeF(size)), radius, radius);
        p.end();
        QImage alpha = shape.convertToFormat(QImage::Format_Alpha8);
        blurAlpha(alpha, blur);
        m_turningShadow = tintedAlpha(alpha, m_effect->shadowColor());
        m_turningShadowSize = size;
        m_turningShadowRadius = radius;
        m_turningShadowTint = tint;
    }
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.translate(QRectF(button.geometry()).center() + IconLayerEffect::shadowOffset());
    painter.rotate(button.rotationAngle());
    painter.drawImage(QPointF(-size.width() / 2.0 - blur, -size.height() / 2.0 - blur), m_turningShadow);
    painter.restore();
}

void IconLayer::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    relayout();
    Q_EMIT sightChanged();
}
