// SPDX-License-Identifier: MIT
#include "core/files/RegularFile.h"

#include <QFile>

#include <algorithm>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

RegularFileRead readRegularFile(const QString &path, qint64 maxBytes)
{
    RegularFileRead result;
    const QByteArray name = QFile::encodeName(path);
    struct stat info {};
    if (::stat(name.constData(), &info) != 0) {
        // A link that leads nowhere, or in a circle, is the user's all the
        // same: only a name with nothing at all behind it is missing.
        struct stat link {};
        const bool nothing = errno == ENOENT && ::lstat(name.constData(), &link) != 0 && errno == ENOENT;
        result.status = nothing ? RegularFileRead::Missing : RegularFileRead::Unreadable;
        return result;
    }
    result.status = RegularFileRead::Unreadable;
    // Opening some devices has effects of its own; only regular files are
    // opened at all.
    if (!S_ISREG(info.st_mode))
        return result;
    // Without blocking: the file may have been swapped for a FIFO since, and
    // a few kernel files would wait for data forever.
    const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return result;
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return result;
    }

    QByteArray bytes;
    bool failed = false;
    bool longer = false;
    char buffer[64 * 1024];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            failed = true;
            break;
        }
        if (n == 0)
            break;
        // The limit holds while reading: the file may grow meanwhile.
        const qint64 room = maxBytes - bytes.size();
        bytes.append(buffer, qsizetype(std::min<qint64>(n, room)));
        if (n > room) {
            longer = true;
            break;
        }
    }
    ::close(fd);
    if (failed)
        return result;
    result.status = longer ? RegularFileRead::Partial : RegularFileRead::Read;
    result.bytes = std::move(bytes);
    return result;
}

bool isSpecialFile(const QString &path)
{
    struct stat info {};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 && !S_ISREG(info.st_mode);
}
