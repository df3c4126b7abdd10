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
    //: Under the drop area's caption; 新規登録 is the menu item that turns registration mode on and off.
    , m_note(tr("登録モード：ドロップしたファイルを登録。Ctrl+N（新規登録）で終了"))
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
    // The caption in the middle, the note under it; a bar too narrow for the
    // note shows it smaller.
    const QImage caption = textImage(m_text);
    const QImage note = textImage(m_note);
    const QSizeF captionSize = caption.isNull() ? QSizeF(box.width(), box.height() / 2)
                                                : caption.deviceIndependentSize();
    const QSizeF noteSize = note.isNull() ? QSizeF(box.width(), box.height() / 3) : note.deviceIndependentSize();
    const qreal room = box.width() - 8;
    const qreal noteScale = noteSize.width() > room && room > 0 ? room / noteSize.width() : 1.0;
    const qreal gap = 2;
    const qreal height = captionSize.height() + gap + noteSize.height() * noteScale;
    const qreal top = box.center().y() - height / 2;
    paintLine(p, QRectF(box.left(), top, box.width(), captionSize.height()), m_text, caption, 1.0);
    paintLine(p, QRectF(box.left(), top + captionSize.height() + gap, box.width(), noteSize.height() * noteScale),
              m_note, note, noteScale);
}

void DropArea::paintLine(QPainter &p, const QRectF &room, const QString &text, const QImage &image, qreal scale) const
{
    if (!image.isNull()) {
        const QSizeF size = image.deviceIndependentSize() * scale;
        p.drawImage(QRectF(QPointF(room.center().x() - size.width() / 2, room.top()), size), image);
        return;
    }
    QFont font = p.font();
    if (text == m_text)
        font.setPointSizeF(font.pointSizeF() * 1.2);
    p.setFont(font);
    p.setPen(QColor(0x30, 0x38, 0x48));
    p.drawText(room, Qt::AlignCenter | Qt::TextWordWrap, text);
}

QImage DropArea::textImage(const QString &text) const
{
    // Drawn from an image of the text (tools/render_drop_labels.cpp): an
    // empty bar then loads no font, which costs more memory and start-up
    // time than the rest of the bar. A text without its image is drawn as
    // text.
    static const std::pair<const char *, const char *> kImages[] = {
        {"Drop領域", ":/labels/drop-ja"},
        {"Drop area", ":/labels/drop-en"},
        {"登録モード：ドロップしたファイルを登録。Ctrl+N（新規登録）で終了", ":/labels/note-ja"},
        {"Registration mode: drop files here to add them. Ctrl+N (Register new) ends it", ":/labels/note-en"},
    };
    for (const auto &[shown, image] : kImages) {
        if (text != QString::fromUtf8(shown))
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
