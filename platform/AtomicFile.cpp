// SPDX-License-Identifier: MIT
#include "platform/AtomicFile.h"

#include <QSaveFile>

bool writeFileAtomically(const QString &path, const QByteArray &data, QString *errorText)
{
    // QSaveFile writes beside the target, syncs and renames; it follows a
    // symbolic link to its target and keeps the old file's permissions.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        if (errorText)
            *errorText = file.errorString();
        return false;
    }
    if (file.write(data) != data.size()) {
        if (errorText)
            *errorText = file.errorString();
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        if (errorText)
            *errorText = file.errorString();
        return false;
    }
    return true;
}
