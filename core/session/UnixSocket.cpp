// SPDX-License-Identifier: MIT
#include "core/session/UnixSocket.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QSocketNotifier>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <utility>

#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

constexpr int kBacklog = 16;
constexpr qsizetype kChunk = 4096;
constexpr int kConnectRetryMs = 10;
constexpr int kAcceptPauseMs = 100;

// sun_path is a fixed array: a longer path would be cut to another file's
// name or run past it.
bool makeAddress(const QString &path, sockaddr_un *address, QString *error)
{
    const QByteArray name = QFile::encodeName(path);
    if (name.isEmpty() || name.contains('\0')) {
        *error = qt_error_string(ENOENT);
        return false;
    }
    if (size_t(name.size()) >= sizeof address->sun_path) {
        *error = qt_error_string(ENAMETOOLONG);
        return false;
    }
    *address = {};
    address->sun_family = AF_UNIX;
    std::memcpy(address->sun_path, name.constData(), size_t(name.size()));
    return true;
}

int pollTimeout(const QDeadlineTimer &deadline)
{
    return deadline.isForever() ? -1 : int(std::min<qint64>(deadline.remainingTime(), INT_MAX));
}

int openSocket()
{
    return ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
}

} // namespace

UnixSocket::UnixSocket(QObject *parent)
    : QObject(parent)
{
}

UnixSocket::~UnixSocket()
{
    close();
}

int UnixSocket::startOver(const QString &path, sockaddr_un *address)
{
    close();
    m_in.clear();
    if (!makeAddress(path, address, &m_error))
        return -1;
    const int fd = openSocket();
    if (fd < 0)
        m_error = qt_error_string(errno);
    return fd;
}

bool UnixSocket::listen(const QString &path)
{
    sockaddr_un address;
    const int fd = startOver(path, &address);
    if (fd < 0)
        return false;
    // A killed listener leaves its socket file; only a socket is ours to
    // replace, never a file someone put there.
    struct stat old {};
    if (::lstat(address.sun_path, &old) == 0 && S_ISSOCK(old.st_mode))
        ::unlink(address.sun_path);
    // Linux gives the file the socket's own mode at bind, so no other user
    // can connect in the moment before the chmod (which covers the rest).
    ::fchmod(fd, S_IRUSR | S_IWUSR);
    if (::bind(fd, reinterpret_cast<const sockaddr *>(&address), sizeof address) != 0) {
        m_error = qt_error_string(errno);
        ::close(fd);
        return false;
    }
    struct stat bound {};
    if (::chmod(address.sun_path, S_IRUSR | S_IWUSR) != 0 || ::listen(fd, kBacklog) != 0
        || ::lstat(address.sun_path, &bound) != 0) {
        m_error = qt_error_string(errno);
        ::unlink(address.sun_path);
        ::close(fd);
        return false;
    }
    m_fd = fd;
    m_socketFile = address.sun_path;
    m_socketFileId = {quint64(bound.st_dev), quint64(bound.st_ino)};
    m_readable = new QSocketNotifier(fd, QSocketNotifier::Read, this);
    connect(m_readable, &QSocketNotifier::activated, this, &UnixSocket::acceptPending);
    return true;
}

bool UnixSocket::connectTo(const QString &path, std::chrono::milliseconds timeout)
{
    sockaddr_un address;
    const int fd = startOver(path, &address);
    if (fd < 0)
        return false;
    const QDeadlineTimer deadline(timeout);
    for (;;) {
        if (::connect(fd, reinterpret_cast<const sockaddr *>(&address), sizeof address) == 0)
            break;
        const int error = errno;
        if (error == EINTR)
            continue;
        if (error == EISCONN)
            break;
        // The listener's queue is full: it may catch up.
        if (error == EAGAIN && !deadline.hasExpired()) {
            const qint64 left = deadline.isForever() ? kConnectRetryMs : deadline.remainingTime();
            QThread::msleep(ulong(std::min<qint64>(kConnectRetryMs, left)));
            continue;
        }
        if (error == EINPROGRESS) {
            pollfd ready{fd, POLLOUT, 0};
            int status = ETIMEDOUT;
            socklen_t size = sizeof status;
            if (::poll(&ready, 1, pollTimeout(deadline)) > 0)
                ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &status, &size);
            if (status == 0)
                break;
            m_error = qt_error_string(status);
        } else {
            m_error = qt_error_string(error);
        }
        ::close(fd);
        return false;
    }
    adopt(fd);
    return true;
}

void UnixSocket::adopt(int fd)
{
    m_fd = fd;
    m_readable = new QSocketNotifier(fd, QSocketNotifier::Read, this);
    connect(m_readable, &QSocketNotifier::activated, this, &UnixSocket::receive);
    m_writable = new QSocketNotifier(fd, QSocketNotifier::Write, this);
    m_writable->setEnabled(false);
    connect(m_writable, &QSocketNotifier::activated, this, [this] {
        if (const int error = sendQueued()) {
            fail(error);
            Q_EMIT disconnected();
        }
    });
}

void UnixSocket::acceptPending()
{
    while (m_fd >= 0) {
        const int fd = ::accept4(m_fd, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (fd >= 0) {
            auto *connection = new UnixSocket(this);
            connection->adopt(fd);
            Q_EMIT accepted(connection);
            continue;
        }
        const int error = errno;
        if (error == EINTR || error == ECONNABORTED)
            continue;
        // Out of descriptors the queue stays readable: pause rather than spin.
        if (error != EAGAIN && error != EWOULDBLOCK && m_readable) {
            m_readable->setEnabled(false);
            QSocketNotifier *notifier = m_readable;
            QTimer::singleShot(kAcceptPauseMs, notifier, [notifier] { notifier->setEnabled(true); });
        }
        return;
    }
}

void UnixSocket::receive()
{
    // One chunk per wake-up: a peer that sends without end cannot make the
    // buffer grow before the reader has looked at it.
    char chunk[kChunk];
    for (;;) {
        const ssize_t size = ::recv(m_fd, chunk, sizeof chunk, 0);
        if (size > 0) {
            m_in.append(chunk, size);
            Q_EMIT readyRead();
            return;
        }
        if (size == 0) {
            close();
            Q_EMIT disconnected();
            return;
        }
        const int error = errno;
        if (error == EINTR)
            continue;
        if (error != EAGAIN && error != EWOULDBLOCK) {
            fail(error);
            Q_EMIT disconnected();
        }
        return;
    }
}

bool UnixSocket::write(QByteArrayView data)
{
    if (m_fd < 0)
        return false;
    m_out.append(data);
    if (const int error = sendQueued()) {
        failLater(error);
        return false;
    }
    return true;
}

bool UnixSocket::waitForWritten(std::chrono::milliseconds timeout)
{
    const QDeadlineTimer deadline(timeout);
    while (m_fd >= 0 && !m_out.isEmpty()) {
        pollfd ready{m_fd, POLLOUT, 0};
        const int events = ::poll(&ready, 1, pollTimeout(deadline));
        if (events < 0 && errno == EINTR)
            continue;
        if (events <= 0) {
            m_error = qt_error_string(events == 0 ? ETIMEDOUT : errno);
            return false;
        }
        if (const int error = sendQueued()) {
            failLater(error);
            return false;
        }
    }
    return m_fd >= 0;
}

int UnixSocket::sendQueued()
{
    while (!m_out.isEmpty()) {
        // MSG_NOSIGNAL: a peer that has gone must not end the launcher with SIGPIPE.
        const ssize_t sent = ::send(m_fd, m_out.constData(), size_t(m_out.size()), MSG_NOSIGNAL);
        if (sent >= 0) {
            m_out.remove(0, sent);
            continue;
        }
        const int error = errno;
        if (error == EINTR)
            continue;
        if ((error == EAGAIN || error == EWOULDBLOCK) && m_writable) {
            m_writable->setEnabled(true);
            return 0;
        }
        return error;
    }
    if (m_writable)
        m_writable->setEnabled(false);
    return 0;
}

QByteArray UnixSocket::readAll()
{
    return std::exchange(m_in, {});
}

QByteArray UnixSocket::readLine()
{
    const qsizetype end = m_in.indexOf('\n');
    if (end < 0)
        return {};
    QByteArray line = m_in.left(end + 1);
    m_in.remove(0, end + 1);
    return line;
}

void UnixSocket::fail(int error)
{
    m_error = qt_error_string(error);
    close();
}

void UnixSocket::failLater(int error)
{
    fail(error);
    // The caller is still inside write() or waitForWritten(): it hears of
    // the end from the event loop.
    QMetaObject::invokeMethod(
        this, [this] { Q_EMIT disconnected(); }, Qt::QueuedConnection);
}

void UnixSocket::close()
{
    // The notifiers may be the ones calling: they go once the call returns.
    for (QSocketNotifier **notifier : {&m_readable, &m_writable}) {
        if (*notifier) {
            (*notifier)->setEnabled(false);
            (*notifier)->deleteLater();
            *notifier = nullptr;
        }
    }
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
    m_out.clear();
    // A listener that ends takes its file along, unless another has
    // replaced it meanwhile.
    if (!m_socketFile.isEmpty()) {
        struct stat current {};
        if (::lstat(m_socketFile.constData(), &current) == 0
            && std::pair(quint64(current.st_dev), quint64(current.st_ino)) == m_socketFileId)
            ::unlink(m_socketFile.constData());
        m_socketFile.clear();
    }
}
