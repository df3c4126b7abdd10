// SPDX-License-Identifier: MIT
#include "core/files/SaveLeftovers.h"

#include "core/files/AtomicFile.h"

#include <QDir>
#include <QFile>

#include <algorithm>

#include <sys/stat.h>

QStringList findSaveLeftovers(const QString &folder, const QStringList &targets)
{
    const QDir dir(folder);
    QStringList found;
    const QStringList names = dir.entryList(QDir::Files | QDir::Hidden | QDir::System | QDir::NoSymLinks, QDir::Name);
    for (const QString &name : names) {
        const bool ours = std::any_of(targets.cbegin(), targets.cend(),
                                      [&name](const QString &target) { return isAtomicSaveTemporary(name, target); });
        if (!ours)
            continue;
        // The name alone is not enough: a link or a folder of that name is
        // something the user made.
        const QString path = dir.filePath(name);
        struct stat info {};
        if (::lstat(QFile::encodeName(path).constData(), &info) == 0 && S_ISREG(info.st_mode))
            found.append(path);
    }
    return found;
}

QStringList removeSaveLeftovers(const QString &folder, const QStringList &targets)
{
    QStringList removed;
    for (const QString &path : findSaveLeftovers(folder, targets)) {
        if (QFile::remove(path))
            removed.append(path);
    }
    return removed;
}
