// SPDX-License-Identifier: MIT
#include "settings/DialogTheme.h"

#include <QFile>
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
