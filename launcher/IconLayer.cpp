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

void IconLayer::addItem(QWidget *item)
{
    // A reused button is ours already; setting the same parent again would
    // hide it and send events for nothing.
    if (item->parentWidget() != this)
        item->setParent(this);
    // A resize may not have reached us yet (it waits while we are hidden).
    if (m_cursorWidth != width())
        relayout();
    m_items.append(item);
    m_shadowAlpha = QImage();
    // Only the new item is placed: the ones before it keep their places.
    item->move(m_cursor.place(item->size()).topLeft() - QPoint(0, m_scrollOffset));
    item->show();
    Q_EMIT arranged();
}

void IconLayer::takeItems()
{
    m_items.clear();
    m_shadowAlpha = QImage();
    m_cursor = FlowCursor(width(), m_spacing);
    m_cursorWidth = width();
    m_scrollOffset = 0;
    update();
    Q_EMIT arranged();
}

void IconLayer::removeItem(QWidget *item)
{
    if (!m_items.removeOne(item))
        return;
    m_shadowAlpha = QImage();
    item->hide();
    relayout();
    update();
}

void IconLayer::moveItem(qsizetype from, qsizetype to)
{
    if (from == to || from < 0 || to < 0 || from >= m_items.size() || to >= m_items.size())
        return;
    m_items.move(from, to);
    relayout();
}

QList<QRect> IconLayer::itemRects() const
{
    QList<QRect> rects;
    rects.reserve(m_items.size());
    for (const QWidget *item : m_items)
        rects.append(item->geometry());
    return rects;
}

void IconLayer::setHorizontalGap(int gap)
{
    if (m_spacing.gapH == gap)
        return;
    m_spacing.gapH = gap;
    relayout();
}

void IconLayer::setVerticalGap(int gap)
{
    if (m_spacing.gapV == gap)
        return;
    m_spacing.gapV = gap;
    relayout();
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
    m_cursor = FlowCursor(width(), m_spacing);
    m_cursorWidth = width();
    for (QWidget *item : std::as_const(m_items))
        item->move(m_cursor.place(item->size()).topLeft() - QPoint(0, m_scrollOffset));
    update();
    Q_EMIT arranged();
}

void IconLayer::setScrollOffset(int offset)
{
    if (m_scrollOffset == offset)
        return;
    const QPoint by(0, m_scrollOffset - offset);
    m_scrollOffset = offset;
    m_shadowAlpha = QImage();
    for (QWidget *item : std::as_const(m_items))
        item->move(item->pos() + by);
    update();
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
}
