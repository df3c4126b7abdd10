// SPDX-License-Identifier: MIT
#include "core/files/AtomicFile.h"

#include "core/files/RegularFile.h"

#include <QCoreApplication>
#include <QFile>
#include <QSaveFile>

#include <sys/stat.h>
#include <unistd.h>

namespace {

// The new file is created by this process: a launcher run once as root in
// another user's folder would leave them files of root's that they can no
// longer save. Root gives the file back to its owner and group, anyone else
// at most to a group of their own; where neither is allowed (EPERM, a file
// system without owners) only the mode is kept, as QSaveFile does.
void keepOwner(const QString &path, int fd)
{
    struct stat old {};
    struct stat fresh {};
    if (fd < 0 || ::stat(QFile::encodeName(path).constData(), &old) != 0 || ::fstat(fd, &fresh) != 0)
        return;
    if (old.st_uid == fresh.st_uid && old.st_gid == fresh.st_gid)
        return;
    const bool kept = ::fchown(fd, old.st_uid, old.st_gid) == 0 || ::fchown(fd, uid_t(-1), old.st_gid) == 0;
    Q_UNUSED(kept);
}

} // namespace

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
    // symbolic link to its target and keeps the old file's permissions (the
    // owner and group we keep ourselves, below).
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
    keepOwner(path, file.handle());
    if (!file.commit()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}
