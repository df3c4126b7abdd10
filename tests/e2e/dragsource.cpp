// SPDX-License-Identifier: MIT
// A drag source for the end-to-end tests: a small window that starts a real
// drag of the files named on its command line as soon as a mouse button is
// pressed on it, so the drop travels the X11 drag-and-drop protocol.
//
//   dragsource [--at X,Y] [--text] PATH...
//
// --text drags the paths as plain text instead of file URLs.
#include <QApplication>
#include <QDrag>
#include <QMimeData>
#include <QMouseEvent>
#include <QUrl>
#include <QWidget>

#include <cstdio>

namespace {

class DragSource : public QWidget
{
public:
    DragSource(QStringList paths, bool asText)
        : m_paths(std::move(paths))
        , m_asText(asText)
    {
        setWindowTitle(QStringLiteral("dragsource"));
        setFixedSize(80, 80);
        setStyleSheet(QStringLiteral("background: #4a7;"));
    }

protected:
    void mousePressEvent(QMouseEvent *) override
    {
        auto *data = new QMimeData;
        if (m_asText) {
            data->setText(m_paths.join(QLatin1Char('\n')));
        } else {
            QList<QUrl> urls;
            for (const QString &path : std::as_const(m_paths))
                urls.append(path.startsWith(QLatin1String("http")) ? QUrl(path) : QUrl::fromLocalFile(path));
            data->setUrls(urls);
        }
        auto *drag = new QDrag(this);
        drag->setMimeData(data);
        const Qt::DropAction result = drag->exec(Qt::CopyAction | Qt::LinkAction, Qt::CopyAction);
        std::printf("drop-result %d\n", int(result));
        std::fflush(stdout);
    }

private:
    QStringList m_paths;
    bool m_asText;
};

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    QPoint at(0, 300);
    bool asText = false;
    while (!args.isEmpty() && args.first().startsWith(QLatin1String("--"))) {
        const QString option = args.takeFirst();
        if (option == QLatin1String("--at") && !args.isEmpty()) {
            const QStringList xy = args.takeFirst().split(QLatin1Char(','));
            at = QPoint(xy.value(0).toInt(), xy.value(1).toInt());
        } else if (option == QLatin1String("--text")) {
            asText = true;
        }
    }
    DragSource source(args, asText);
    source.move(at);
    source.show();
    return app.exec();
}
