// SPDX-License-Identifier: MIT
#pragma once

#include <QImage>
#include <QWidget>

class QMimeData;

// The drop area shown in registration mode: takes drags that carry at least
// one local file or folder and hands on the dropped paths.
class DropArea : public QWidget
{
    Q_OBJECT

public:
    explicit DropArea(QWidget *parent = nullptr);

    QString text() const { return m_text; }
    // The line under it: what registration mode does and how it ends.
    QString note() const { return m_note; }

    // The local paths of a drag, in the order it carries them.
    static QStringList localPaths(const QMimeData *data);

Q_SIGNALS:
    // `pos` is where the drop landed, in the area's coordinates.
    void dropped(const QStringList &paths, const QPoint &pos);

protected:
    void paintEvent(QPaintEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dragLeaveEvent(QDragLeaveEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    QImage textImage(const QString &text) const;
    void paintLine(QPainter &p, const QRectF &room, const QString &text, const QImage &image, qreal scale) const;

    QString m_text;
    QString m_note;
    bool m_dragOver = false;
};
