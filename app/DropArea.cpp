// SPDX-License-Identifier: MIT
#include "app/DropArea.h"

#include "app/OwnPicture.h"

#include <QDragEnterEvent>
#include <QMimeData>
#include <QPainter>
#include <QUrl>

DropArea::DropArea(QWidget *parent)
    : QWidget(parent)
    //: The area files are dropped on to register them.
    , m_text(tr("Drop領域"))
{
    setAcceptDrops(true);
}

QStringList DropArea::localPaths(const QMimeData *data)
{
    QStringList paths;
    if (!data || !data->hasUrls())
        return paths;
    for (const QUrl &url : data->urls()) {
        if (url.isLocalFile() && !url.toLocalFile().isEmpty())
            paths.append(url.toLocalFile());
    }
    return paths;
}

void DropArea::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF box = QRectF(rect()).adjusted(1, 1, -1, -1);
    // Veils the buttons beneath: while it is shown they take no input.
    p.setPen(QPen(QColor(0x50, 0x60, 0x80, m_dragOver ? 240 : 170), 1.5, Qt::DashLine));
    p.setBrush(QColor(248, 250, 255, m_dragOver ? 235 : 200));
    p.drawRoundedRect(box, 5, 5);
    const QImage caption = captionImage();
    if (!caption.isNull()) {
        const QSizeF size = caption.deviceIndependentSize();
        p.drawImage(QRectF(box.center() - QPointF(size.width(), size.height()) / 2, size), caption);
        return;
    }
    QFont font = p.font();
    font.setPointSizeF(font.pointSizeF() * 1.2);
    p.setFont(font);
    p.setPen(QColor(0x30, 0x38, 0x48));
    p.drawText(box, Qt::AlignCenter, m_text);
}

QImage DropArea::captionImage() const
{
    // Drawn from an image of the caption (tools/render_drop_labels.cpp): an
    // empty bar then loads no font, which costs more memory and start-up
    // time than the rest of the bar. A caption without its image is text.
    static const std::pair<const char *, const char *> kImages[] = {
        {"Drop領域", ":/labels/drop-ja"},
        {"Drop area", ":/labels/drop-en"},
    };
    for (const auto &[caption, image] : kImages) {
        if (m_text != QString::fromUtf8(caption))
            continue;
        const bool sharp = devicePixelRatioF() > 1.0;
        QImage loaded = ownPicture(QString::fromLatin1(image)
                                   + (sharp ? QStringLiteral("@2x.png") : QStringLiteral(".png")));
        loaded.setDevicePixelRatio(sharp ? 2.0 : 1.0);
        return loaded;
    }
    return {};
}

void DropArea::dragEnterEvent(QDragEnterEvent *event)
{
    if (localPaths(event->mimeData()).isEmpty()) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    m_dragOver = true;
    update();
}

void DropArea::dragMoveEvent(QDragMoveEvent *event)
{
    if (localPaths(event->mimeData()).isEmpty())
        event->ignore();
    else
        event->acceptProposedAction();
}

void DropArea::dragLeaveEvent(QDragLeaveEvent *)
{
    m_dragOver = false;
    update();
}

void DropArea::dropEvent(QDropEvent *event)
{
    m_dragOver = false;
    update();
    const QStringList paths = localPaths(event->mimeData());
    if (paths.isEmpty()) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    Q_EMIT dropped(paths, event->position().toPoint());
}
