// SPDX-License-Identifier: MIT
#include "app/GroupCaption.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QVariantAnimation>

GroupCaption::GroupCaption(QWidget *parent)
    : QWidget(parent)
    , m_fade(new QVariantAnimation(this))
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    hide();
    m_fade->setDuration(kShownMsecs);
    // In quickly, held long enough to read, out slowly.
    m_fade->setKeyValueAt(0, 0.0);
    m_fade->setKeyValueAt(0.12, 1.0);
    m_fade->setKeyValueAt(0.6, 1.0);
    m_fade->setKeyValueAt(1, 0.0);
    connect(m_fade, &QVariantAnimation::valueChanged, this, [this](const QVariant &value) {
        m_opacity = value.toReal();
        update();
    });
    connect(m_fade, &QVariantAnimation::finished, this, &QWidget::hide);
}

void GroupCaption::showName(const QString &name, bool atTop)
{
    m_name = name;
    m_atTop = atTop;
    m_fade->stop();
    m_opacity = 0;
    raise();
    show();
    m_fade->start();
}

void GroupCaption::paintEvent(QPaintEvent *)
{
    if (m_opacity <= 0 || m_name.isEmpty())
        return;
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setOpacity(m_opacity);
    QFont font = p.font();
    font.setBold(true);
    font.setPointSizeF(font.pointSizeF() * (m_atTop ? 1.05 : 1.25));
    const QFontMetricsF metrics(font);
    // A dark label reads on any plate colour the user picks.
    const qreal padX = metrics.height() * 0.7;
    const qreal padY = metrics.height() * 0.25;
    const qreal room = std::max<qreal>(0, width() - 2 * padX - 4);
    const QString text = metrics.elidedText(m_name, Qt::ElideRight, room);
    const QSizeF box(metrics.horizontalAdvance(text) + 2 * padX, metrics.height() + 2 * padY);
    const qreal top = m_atTop ? std::min<qreal>(3, height() - box.height()) : (height() - box.height()) / 2;
    const QRectF label(QPointF((width() - box.width()) / 2, top), box);
    QPainterPath path;
    path.addRoundedRect(label, box.height() / 2, box.height() / 2);
    p.fillPath(path, QColor(0x20, 0x26, 0x30, 200));
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(label, Qt::AlignCenter, text);
}
