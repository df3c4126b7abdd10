// SPDX-License-Identifier: MIT
// Renders the launcher's SVG icon to the PNG window icons in
// resources/icons/window/. The bar gives the window manager these rather
// than the SVG, so its start loads no SVG renderer. Run again after changing
// the icon:
//   g++ -std=c++20 -fPIC tools/render_app_icon.cpp -o /tmp/render_app_icon \
//       $(pkg-config --cflags --libs Qt6Gui Qt6Svg) && \
//   QT_QPA_PLATFORM=offscreen /tmp/render_app_icon resources/icons/quillbrook.svg resources/icons/window
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    if (argc < 3)
        return 2;
    QSvgRenderer svg(QString::fromLocal8Bit(argv[1]));
    if (!svg.isValid())
        return 1;
    const QString folder = QString::fromLocal8Bit(argv[2]);
    // The sizes taskbars, switchers and title bars ask for.
    for (const int side : {16, 24, 32, 48, 64, 128}) {
        QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        svg.render(&painter);
        painter.end();
        if (!image.save(QStringLiteral("%1/%2.png").arg(folder).arg(side)))
            return 1;
    }
    return 0;
}
