// SPDX-License-Identifier: MIT
// A drop target for the end-to-end tests: a small window that takes any drop
// of URLs and prints each of them, one a line, as "url <URL>".
//
//   droptarget [--at X,Y]
#include <QApplication>
#include <QDragEnterEvent>
#include <QMimeData>
#include <QUrl>
#include <QWidget>

#include <cstdio>

namespace {

class DropTarget : public QWidget
{
public:
    DropTarget()
    {
        setWindowTitle(QStringLiteral("droptarget"));
        setFixedSize(160, 120);
        setStyleSheet(QStringLiteral("background: #a47;"));
        setAcceptDrops(true);
    }

protected:
    void dragEnterEvent(QDragEnterEvent *event) override
    {
        if (event->mimeData()->hasUrls())
            event->acceptProposedAction();
    }

    void dropEvent(QDropEvent *event) override
    {
        for (const QUrl &url : event->mimeData()->urls())
            std::printf("url %s\n", url.toString(QUrl::FullyEncoded).toUtf8().constData());
        std::fflush(stdout);
        event->acceptProposedAction();
    }
};

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    QPoint at(300, 300);
    if (args.size() == 2 && args[0] == QLatin1String("--at")) {
        const QStringList xy = args[1].split(QLatin1Char(','));
        at = QPoint(xy.value(0).toInt(), xy.value(1).toInt());
    }
    DropTarget target;
    target.move(at);
    target.show();
    return app.exec();
}
