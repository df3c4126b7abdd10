// SPDX-License-Identifier: MIT
#include "platform/AtomicFile.h"

#include "platform/RegularFile.h"

#include <QCoreApplication>
#include <QSaveFile>

bool writeFileAtomically(const QString &path, const QByteArray &data, QString *error)
{
    // QSaveFile would write beside a device or a FIFO and rename over it:
    // through a link to /dev/null, root would replace the device itself.
    if (isSpecialFile(path)) {
        if (error)
            *error = QCoreApplication::translate("AtomicFile", "Not a regular file");
        return false;
    }
    // QSaveFile writes beside the target, syncs and renames; it follows a
    // symbolic link to its target and keeps the old file's permissions.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    // Qt 6.4 commits even when the final flush of its buffer failed: on a
    // full disk the old file would be replaced by a cut-off or empty one.
    // Everything must be on its way to the disk, whole, before the rename.
    if (file.write(data) != data.size() || !file.flush() || file.size() != data.size()) {
        if (error)
            *error = file.errorString();
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}
