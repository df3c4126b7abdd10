// SPDX-License-Identifier: MIT
#include "app/ErrorReport.h"

#include <QCoreApplication>
#include <QMessageBox>
#include <QPointer>
#include <QScreen>

#include <algorithm>
#include <QPushButton>

namespace {

ErrorReport::ShowHandler g_show;
ErrorReport::CloseHandler g_askOnClose;

const QString kTitle = QStringLiteral("Quillbrook");

} // namespace

namespace ErrorReport {

// Where a box of `size` goes so that it hides none of the bar: below it,
// else above, else to its right or left, kept on the bar's screen.
QPoint placeBeside(const QRect &bar, const QSize &size, const QRect &area)
{
    const int left = std::clamp(bar.left(), area.left(), std::max(area.left(), area.right() + 1 - size.width()));
    const int top = std::clamp(bar.top(), area.top(), std::max(area.top(), area.bottom() + 1 - size.height()));
    const QRect candidates[] = {
        QRect(QPoint(left, bar.bottom() + 1), size),
        QRect(QPoint(left, bar.top() - size.height()), size),
        QRect(QPoint(bar.right() + 1, top), size),
        QRect(QPoint(bar.left() - size.width(), top), size),
    };
    for (const QRect &place : candidates) {
        if (area.contains(place))
            return place.topLeft();
    }
    // No free side: the corner of the screen farthest from the bar.
    const QPoint far(bar.center().x() < area.center().x() ? area.right() + 1 - size.width() : area.left(),
                     bar.center().y() < area.center().y() ? area.bottom() + 1 - size.height() : area.top());
    return far;
}

void show(QWidget *parent, const QString &message)
{
    if (g_show) {
        g_show(message);
        return;
    }
    QMessageBox::critical(parent, kTitle, message);
}

void notify(QWidget *parent, const QString &message)
{
    if (g_show) {
        g_show(message);
        return;
    }
    // One box at a time: a second failure updates it rather than stacking
    // another.
    static QPointer<QMessageBox> shown;
    if (!shown) {
        shown = new QMessageBox(QMessageBox::Critical, kTitle, message, QMessageBox::Ok, parent);
        shown->setAttribute(Qt::WA_DeleteOnClose);
        shown->setWindowModality(Qt::NonModal);
    }
    shown->setText(message);
    shown->adjustSize();
    if (parent)
        shown->move(
            placeBeside(parent->frameGeometry(), shown->frameGeometry().size(), parent->screen()->availableGeometry()));
    shown->show();
    shown->raise();
}

CloseChoice askOnCloseFailure(QWidget *parent, const QString &message)
{
    if (g_askOnClose)
        return g_askOnClose(message);
    QMessageBox box(QMessageBox::Critical, kTitle, message, QMessageBox::NoButton, parent);
    //: Button: try saving the settings again.
    QPushButton *retry = box.addButton(QCoreApplication::translate("ErrorReport", "再試行"), QMessageBox::AcceptRole);
    QPushButton *quit = box.addButton(QCoreApplication::translate("ErrorReport", "保存せずに終了"),
                                      QMessageBox::DestructiveRole);
    // Escape, and closing the box, keep the bar: quitting without saving is
    // only ever a deliberate click.
    //: Button: cancel ending the launcher; the bar goes on running.
    QPushButton *stay = box.addButton(QCoreApplication::translate("ErrorReport", "終了しない"),
                                      QMessageBox::RejectRole);
    box.setDefaultButton(retry);
    box.setEscapeButton(stay);
    box.exec();
    if (box.clickedButton() == retry)
        return CloseChoice::Retry;
    if (box.clickedButton() == quit)
        return CloseChoice::QuitWithoutSaving;
    return CloseChoice::Stay;
}

void setHandlers(ShowHandler show, CloseHandler askOnClose)
{
    g_show = std::move(show);
    g_askOnClose = std::move(askOnClose);
}

} // namespace ErrorReport
