// SPDX-License-Identifier: MIT
// Renders the drop area's caption and the note under it, in each language the launcher ships, to
// the images in resources/labels/. The bar draws those rather than text, so
// an empty bar loads no font. Run again after changing a caption or its
// look:
//   g++ -std=c++20 -fPIC tools/render_drop_labels.cpp -o /tmp/render_drop_labels \
//       $(pkg-config --cflags --libs Qt6Gui) && \
//   QT_QPA_PLATFORM=offscreen /tmp/render_drop_labels resources/labels
#include <QFont>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    if (argc < 2)
        return 2;
    const QString folder = QString::fromLocal8Bit(argv[1]);
    // Name of the image, text, its size against the desktop's font; the look
    // is DropArea's.
    struct Label {
        QString name, text;
        qreal size;
    };
    const QList<Label> labels = {
        {QStringLiteral("drop-ja"), QStringLiteral("Drop領域"), 1.2},
        {QStringLiteral("drop-en"), QStringLiteral("Drop area"), 1.2},
        {QStringLiteral("note-ja"), QStringLiteral("登録モード：ドロップしたファイルを登録。Ctrl+N（新規登録）で終了"),
         0.9},
        {QStringLiteral("note-en"),
         QStringLiteral("Registration mode: drop files here to add them. Ctrl+N (Register new) ends it"), 0.9},
    };
    for (const auto &[name, caption, relative] : labels) {
        QFont font(QStringLiteral("Sans"));
        font.setPointSizeF(QGuiApplication::font().pointSizeF() * relative);
        for (const int scale : {1, 2}) {
            const QSizeF size = QFontMetricsF(font).boundingRect(caption).size() + QSizeF(4, 2);
            QImage image((size * scale).toSize(), QImage::Format_ARGB32_Premultiplied);
            image.setDevicePixelRatio(scale);
            image.fill(Qt::transparent);
            QPainter p(&image);
            p.setRenderHint(QPainter::TextAntialiasing);
            p.setFont(font);
            p.setPen(QColor(0x30, 0x38, 0x48));
            p.drawText(QRectF(QPointF(0, 0), size), Qt::AlignCenter, caption);
            p.end();
            const QString suffix = scale == 1 ? QString() : QStringLiteral("@2x");
            if (!image.save(folder + u'/' + name + suffix + QStringLiteral(".png")))
                return 1;
        }
    }
    return 0;
}
