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
    QImage captionImage() const;

    QString m_text;
    bool m_dragOver = false;
};
