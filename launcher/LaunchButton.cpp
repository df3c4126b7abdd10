// SPDX-License-Identifier: MIT
#include "launcher/LaunchButton.h"

#include "launcher/GlowImages.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QEnterEvent>
#include <QFocusEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QVariantAnimation>

#include <cmath>

namespace {

const QColor kBackground(0xE0, 0xE0, 0xE0);
const QColor kOutline(0xD4, 0xD4, 0xD4);
const QColor kPressedGlow(0x4F, 0x48, 0x48);
constexpr qreal kGlowOpacity = 0.9;
constexpr int kGlowSpread = 8;
constexpr qreal kMagnification = 1.2;
constexpr qreal kLiftedOpacity = 0.3;
constexpr qreal kMissingOpacity = 0.45;
const QColor kFocusRing(0x2A, 0x6F, 0xD6);
constexpr qreal kFocusRingWidth = 2.5;
const QColor kDropRing(0x2E, 0xA0, 0x43);
constexpr qreal kDropRingWidth = 3;

} // namespace

LaunchButton::LaunchButton(const QString &filePath, int iconSide, int padding, int cornerRadius, QWidget *parent,
                           LaunchButtonHost *host)
    : QAbstractButton(parent)
    , m_host(host)
    , m_filePath(filePath)
    , m_iconSide(iconSide)
    , m_cornerRadius(cornerRadius)
{
    // Resized, not fixed: no layout manages the buttons, and the size limits
    // would cost each button an extra block of widget data.
    const int side = std::max(0, iconSide + padding);
    resize(side, side);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_NoSystemBackground);
}

void LaunchButton::reuse(const QString &filePath, int iconSide, int padding, int cornerRadius)
{
    if (m_animation)
        m_animation->stop();
    setDown(false);
    m_filePath = filePath;
    m_iconSide = iconSide;
    m_cornerRadius = cornerRadius;
    const int side = std::max(0, iconSide + padding);
    resize(side, side);
    setToolTip(QString());
    m_icon = QPixmap();
    m_iconWanted = false;
    m_mouseOver = false;
    m_rotation = 0;
    m_opacity = 1;
    m_lifted = false;
    m_fileMissing = false;
    m_greyIcon = QPixmap();
    m_focusRing = false;
    m_dropTarget = false;
    m_pressPos.reset();
}

void LaunchButton::setHoverEffect(int glowNo, QColor glowColor)
{
    m_glowNo = (glowNo >= 0 && glowNo <= 5) ? glowNo : 0;
    m_glowColor = glowColor;
    refresh();
}

void LaunchButton::setIconPixmap(const QPixmap &pixmap)
{
    m_icon = pixmap;
    m_iconWanted = false;
    makeGreyIcon();
    refresh();
}

void LaunchButton::setFileMissing(bool missing)
{
    m_fileMissing = missing;
    makeGreyIcon();
    refresh();
}

void LaunchButton::makeGreyIcon()
{
    m_greyIcon = QPixmap();
    if (!m_fileMissing || m_icon.isNull())
        return;
    // The icon's own shape, in greys.
    QImage image = m_icon.toImage().convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const int grey = qGray(line[x]);
            line[x] = qRgba(grey, grey, grey, qAlpha(line[x]));
        }
    }
    m_greyIcon = QPixmap::fromImage(image);
    m_greyIcon.setDevicePixelRatio(m_icon.devicePixelRatio());
}

QPointF LaunchButton::magnifyCenter() const
{
    return QPointF(m_iconSide / 2.0, m_iconSide / 2.0);
}

bool LaunchButton::magnifying() const
{
    return m_mouseOver && HoverEffect(m_glowNo) == HoverEffect::Magnify;
}

QRect LaunchButton::paintRect() const
{
    // Room for the halo and for the corners of a square turned by 45 degrees.
    const int turn = int(std::ceil(width() * (M_SQRT2 - 1) / 2)) + 1;
    const int margin = std::max(kGlowSpread, turn);
    return geometry().adjusted(-margin, -margin, margin, margin);
}

void LaunchButton::paintButton(QPainter &p) const
{
    const QRectF box(0, 0, width(), height());
    p.save();
    p.translate(pos());
    p.setOpacity(p.opacity() * m_opacity * (m_lifted ? kLiftedOpacity : 1.0));
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::SmoothPixmapTransform);

    if (m_rotation != 0) {
        p.translate(box.center());
        p.rotate(m_rotation);
        p.translate(-box.center());
    }
    if (magnifying()) {
        const QPointF c = magnifyCenter();
        p.setClipRect(box);
        p.translate(c);
        p.scale(kMagnification, kMagnification);
        p.translate(-c);
    }

    const HoverEffect effect = HoverEffect(m_glowNo);
    // A drag hovering is not the pointer entering: only the glows show it,
    // an animation started for it would be left half run.
    const bool glowing = m_mouseOver || m_dropTarget;
    if (glowing && effect == HoverEffect::OuterGlow) {
        const qreal o = p.opacity();
        p.setOpacity(o * kGlowOpacity);
        p.drawImage(QPointF(-kGlowSpread, -kGlowSpread),
                    outerGlowImage(size(), m_cornerRadius, m_glowColor, kGlowSpread));
        p.setOpacity(o);
    }

    QPainterPath shape;
    shape.addRoundedRect(box.adjusted(0.5, 0.5, -0.5, -0.5), m_cornerRadius, m_cornerRadius);
    p.setPen(QPen(kOutline, 1));
    p.setBrush(kBackground);
    p.drawPath(shape);

    auto innerGlow = [&](QColor color) {
        const qreal o = p.opacity();
        p.setOpacity(o * kGlowOpacity);
        p.drawImage(QPointF(0, 0), innerGlowImage(size(), m_cornerRadius, color, kGlowSpread));
        p.setOpacity(o);
    };
    if (isDown())
        innerGlow(kPressedGlow);
    if (glowing && effect == HoverEffect::InnerGlow)
        innerGlow(m_glowColor);

    if (!m_icon.isNull()) {
        const QPixmap &icon = m_fileMissing ? m_greyIcon : m_icon;
        const qreal dpr = icon.devicePixelRatio();
        QSizeF iconSize = QSizeF(icon.size()) / dpr;
        iconSize.scale(QSizeF(m_iconSide, m_iconSide), Qt::KeepAspectRatio);
        QRectF target(QPointF(0, 0), iconSize);
        target.moveCenter(box.center());
        const qreal o = p.opacity();
        if (m_fileMissing)
            p.setOpacity(o * kMissingOpacity);
        p.drawPixmap(target, icon, QRectF(icon.rect()));
        p.setOpacity(o);
    }
    if (m_dropTarget) {
        // Drawn in every hover effect, "none" included: the user must see
        // which button the drop goes to.
        const qreal inset = kDropRingWidth / 2 + 0.5;
        const qreal radius = std::max<qreal>(m_cornerRadius - inset, 0);
        p.setPen(QPen(kDropRing, kDropRingWidth));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(box.adjusted(inset, inset, -inset, -inset), radius, radius);
    } else if (showsFocusRing()) {
        // The button's own outline, drawn bold in the focus colour.
        const qreal inset = kFocusRingWidth / 2 + 1;
        const qreal radius = std::max<qreal>(m_cornerRadius - inset, 0);
        p.setPen(QPen(kFocusRing, kFocusRingWidth));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(box.adjusted(inset, inset, -inset, -inset), radius, radius);
    }
    p.restore();
}

void LaunchButton::setLifted(bool lifted)
{
    m_lifted = lifted;
    refresh();
}

void LaunchButton::setDropTarget(bool on)
{
    if (m_dropTarget == on)
        return;
    m_dropTarget = on;
    refresh();
}

void LaunchButton::showFocusRing()
{
    m_focusRing = true;
    refresh();
}

void LaunchButton::refresh()
{
    if (QWidget *parent = parentWidget())
        parent->update(paintRect());
}

template<typename Handler>
void LaunchButton::showingDownState(Handler handler)
{
    const bool down = isDown();
    handler();
    if (isDown() != down)
        refresh();
}

void LaunchButton::startAnimation(qreal from, qreal to, int msecs, qreal LaunchButton::*target)
{
    if (!m_animation) {
        m_animation = new QVariantAnimation(this);
        m_animation->setEasingCurve(QEasingCurve::Linear);
    }
    m_animation->stop();
    m_animation->disconnect(this);
    connect(m_animation, &QVariantAnimation::valueChanged, this, [this, target](const QVariant &v) {
        this->*target = v.toReal();
        refresh();
    });
    m_animation->setStartValue(from);
    m_animation->setEndValue(to);
    m_animation->setDuration(msecs);
    this->*target = from;
    m_animation->start();
    refresh();
}

void LaunchButton::enterEvent(QEnterEvent *event)
{
    QAbstractButton::enterEvent(event);
    m_mouseOver = true;
    switch (HoverEffect(m_glowNo)) {
    case HoverEffect::Rotate:
        startAnimation(45, 0, 100, &LaunchButton::m_rotation);
        break;
    case HoverEffect::Fade:
        // Runs from the stop value back to the start value.
        startAnimation(0.5, 1.0, 200, &LaunchButton::m_opacity);
        break;
    default:
        refresh();
        break;
    }
    if (m_host)
        m_host->launchButtonEntered(this);
}

void LaunchButton::leaveEvent(QEvent *event)
{
    QAbstractButton::leaveEvent(event);
    m_mouseOver = false;
    refresh();
}

bool LaunchButton::focusNextPrevChild(bool next)
{
    // Tab walks the entries in their order, rows out of sight too (they
    // have no button to be in the focus chain), and wraps at either end.
    if (!m_host)
        return QAbstractButton::focusNextPrevChild(next);
    if (!m_host->launchButtonFocusStep(this, next ? FlowStep::Next : FlowStep::Previous))
        m_host->launchButtonFocusStep(this, next ? FlowStep::First : FlowStep::Last);
    return true;
}

void LaunchButton::keyPressEvent(QKeyEvent *event)
{
    const Qt::KeyboardModifiers bare = event->modifiers() & ~Qt::KeypadModifier;
    if (bare == Qt::ShiftModifier && event->key() == Qt::Key_F10) {
        if (m_host)
            m_host->launchButtonMenuRequested(this, mapToGlobal(QPoint(0, height())));
        return;
    }
    if (bare == Qt::NoModifier) {
        static constexpr std::pair<int, FlowStep> kSteps[] = {
            {Qt::Key_Left, FlowStep::Previous}, {Qt::Key_Right, FlowStep::Next}, {Qt::Key_Up, FlowStep::RowAbove},
            {Qt::Key_Down, FlowStep::RowBelow}, {Qt::Key_Home, FlowStep::First}, {Qt::Key_End, FlowStep::Last},
        };
        for (const auto &[key, step] : kSteps) {
            if (event->key() == key) {
                if (m_host)
                    m_host->launchButtonFocusStep(this, step);
                return;
            }
        }
    }
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
    if (enter && mods == Qt::NoModifier) {
        click();
        return;
    }
    // Only a bare space presses the button; Alt+Space and the like belong
    // to the window manager or to shortcuts.
    const bool space = event->key() == Qt::Key_Space || event->key() == Qt::Key_Select;
    if (space && mods != Qt::NoModifier) {
        event->ignore();
        return;
    }
    showingDownState([&] { QAbstractButton::keyPressEvent(event); });
}

void LaunchButton::keyReleaseEvent(QKeyEvent *event)
{
    showingDownState([&] { QAbstractButton::keyReleaseEvent(event); });
}

void LaunchButton::mousePressEvent(QMouseEvent *event)
{
    m_focusRing = false;
    if (event->button() == Qt::LeftButton)
        m_pressPos = event->position().toPoint();
    showingDownState([&] { QAbstractButton::mousePressEvent(event); });
}

void LaunchButton::mouseReleaseEvent(QMouseEvent *event)
{
    showingDownState([&] { QAbstractButton::mouseReleaseEvent(event); });
}

void LaunchButton::mouseMoveEvent(QMouseEvent *event)
{
    if (m_pressPos && (event->buttons() & Qt::LeftButton)
        && (event->position().toPoint() - *m_pressPos).manhattanLength() >= QApplication::startDragDistance()) {
        const QPoint hotSpot = *m_pressPos;
        m_pressPos.reset();
        // The drag takes the release: the button must not stay down or click.
        setDown(false);
        refresh();
        if (m_host)
            m_host->launchButtonDragRequested(this, hotSpot);
        return;
    }
    if (!(event->buttons() & Qt::LeftButton))
        m_pressPos.reset();
    showingDownState([&] { QAbstractButton::mouseMoveEvent(event); });
}

void LaunchButton::nextCheckState()
{
    // Called on every click, just before the clicked signal.
    QAbstractButton::nextCheckState();
    if (m_host)
        m_host->launchButtonClicked(this);
}

void LaunchButton::focusInEvent(QFocusEvent *event)
{
    QAbstractButton::focusInEvent(event);
    const Qt::FocusReason reason = event->reason();
    m_focusRing = reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason || reason == Qt::ShortcutFocusReason;
    refresh();
}

void LaunchButton::focusOutEvent(QFocusEvent *event)
{
    // Losing the focus lets go of a button the space bar holds down.
    QAbstractButton::focusOutEvent(event);
    // A popup (the button's own menu) takes the focus only for a while.
    if (event->reason() != Qt::PopupFocusReason)
        m_focusRing = false;
    refresh();
}

void LaunchButton::contextMenuEvent(QContextMenuEvent *event)
{
    // The keyboard's menu opens below the button, not where the pointer is.
    const QPoint at = event->reason() == QContextMenuEvent::Keyboard ? mapToGlobal(QPoint(0, height()))
                                                                     : event->globalPos();
    if (m_host)
        m_host->launchButtonMenuRequested(this, at);
}

void LaunchButton::changeEvent(QEvent *event)
{
    QAbstractButton::changeEvent(event);
    if (event->type() == QEvent::StyleChange && m_host)
        m_host->launchButtonStyleChanged(this);
}
