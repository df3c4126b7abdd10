// SPDX-License-Identifier: MIT
#include "settings/DialogTheme.h"

#include <QFile>
#include <QScreen>
#include <QWidget>

void applyDialogTheme(QWidget *dialog)
{
    // The library's resources are linked statically and must be registered;
    // registering twice is harmless.
    Q_INIT_RESOURCE(resources);
    static const QString sheet = [] {
        QFile file(QStringLiteral(":/dialogs.qss"));
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }();
    dialog->setStyleSheet(sheet);
}

void centreOnScreen(QWidget *dialog, const QScreen *screen)
{
    if (!screen)
        return;
    // The frame, not the client area: move() places the frame, so centring
    // the client area would shift the dialog by its title bar each time.
    QRect frame = dialog->frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    dialog->move(frame.topLeft());
}
