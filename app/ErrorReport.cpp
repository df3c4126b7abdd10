// SPDX-License-Identifier: MIT
#include "app/ErrorReport.h"

#include <QMessageBox>
#include <QPushButton>

namespace {

ErrorReport::ShowHandler g_show;
ErrorReport::CloseHandler g_askOnClose;

const QString kTitle = QStringLiteral("Quillbrook");

} // namespace

namespace ErrorReport {

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
    auto *box = new QMessageBox(QMessageBox::Critical, kTitle, message, QMessageBox::Ok, parent);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::NonModal);
    box->show();
}

CloseChoice askOnCloseFailure(QWidget *parent, const QString &message)
{
    if (g_askOnClose)
        return g_askOnClose(message);
    QMessageBox box(QMessageBox::Critical, kTitle, message, QMessageBox::NoButton, parent);
    QPushButton *retry = box.addButton(QStringLiteral("再試行"), QMessageBox::AcceptRole);
    QPushButton *quit = box.addButton(QStringLiteral("保存せずに終了"), QMessageBox::DestructiveRole);
    box.setDefaultButton(retry);
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
