// SPDX-License-Identifier: MIT
// Renders the drop area's caption, in each language the launcher ships, to
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
    // Name of the image, caption; the look is DropArea's.
    const QList<std::pair<QString, QString>> captions = {
        {QStringLiteral("drop-ja"), QStringLiteral("Drop領域")},
        {QStringLiteral("drop-en"), QStringLiteral("Drop area")},
    };
    QFont font(QStringLiteral("Sans"));
    font.setPointSizeF(QGuiApplication::font().pointSizeF() * 1.2);
    for (const auto &[name, caption] : captions) {
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
