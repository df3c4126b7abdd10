// SPDX-License-Identifier: MIT
#include "core/session/ProcessLock.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

ProcessLock::ProcessLock(QString path)
    : m_path(std::move(path))
{
}

ProcessLock::~ProcessLock()
{
    // The file stays: removing it could part a later process's lock from
    // the name the next one opens.
    if (m_fd >= 0)
        ::close(m_fd);
}

ProcessLock::Result ProcessLock::tryLock(QString *error)
{
    if (m_fd >= 0)
        return Result::Locked;
    const QByteArray name = QFile::encodeName(m_path);
    int fd;
    do
        fd = ::open(name.constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        if (error)
            *error = QString::fromLocal8Bit(std::strerror(errno));
        return Result::Failed;
    }
    int locked;
    do
        locked = ::flock(fd, LOCK_EX | LOCK_NB);
    while (locked < 0 && errno == EINTR);
    if (locked < 0) {
        const int reason = errno;
        ::close(fd);
        if (reason == EWOULDBLOCK)
            return Result::Held;
        if (error)
            *error = QString::fromLocal8Bit(std::strerror(reason));
        return Result::Failed;
    }
    m_fd = fd;
    // For whoever looks at the file: which process holds it.
    const QByteArray pid = QByteArray::number(qint64(::getpid())) + '\n';
    if (::ftruncate(fd, 0) == 0)
        (void)!::write(fd, pid.constData(), size_t(pid.size()));
    return Result::Locked;
}
