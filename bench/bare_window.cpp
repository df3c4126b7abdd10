// SPDX-License-Identifier: MIT
// The physical limit of this stack: a bare frameless, translucent Qt window
// of the bar's default size and place, painted with one rounded rectangle.
#include <QApplication>
#include <QPainter>
#include <QWidget>

namespace {

class Bare : public QWidget
{
public:
    Bare()
        : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint)
    {
        setAttribute(Qt::WA_TranslucentBackground);
        setWindowTitle(QStringLiteral("Quillbrook"));
        setGeometry(670, 0, 500, 100);
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        p.setOpacity(0.8);
        p.setBrush(QColor(0xF0, 0xF8, 0xFF));
        p.setPen(Qt::NoPen);
        p.drawRoundedRect(rect().adjusted(0, 0, -10, -10), 5, 5);
    }
};

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    Bare window;
    window.show();
    return app.exec();
}
