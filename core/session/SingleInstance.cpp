// SPDX-License-Identifier: MIT
#include "core/session/SingleInstance.h"

#include "core/session/ProcessLock.h"
#include "core/session/UnixSocket.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QThread>

namespace {

constexpr QByteArrayView kActivate = "activate\n";
constexpr QByteArrayView kShow = "show\n";
constexpr QByteArrayView kToggle = "toggle\n";
// A request is one short line; anything longer is not ours.
constexpr qint64 kMaxRequest = 64;
constexpr int kRetryMs = 50;

} // namespace

SingleInstance::SingleInstance(const QString &homePath, const QString &runtimeDir, QObject *parent)
    : QObject(parent)
    , m_dir(runtimeDir.isEmpty() ? defaultRuntimeDir() : runtimeDir)
    , m_key(folderKey(homePath))
    , m_lock(std::make_unique<ProcessLock>(lockPath()))
{
}

// The server closes before the lock goes, so no request reaches a launcher
// that has let go of its folder.
SingleInstance::~SingleInstance()
{
    if (m_server)
        m_server->close();
}

QByteArray SingleInstance::folderKey(const QString &homePath)
{
    const QFileInfo info(homePath);
    QString folder = info.canonicalFilePath();
    if (folder.isEmpty())
        folder = QDir::cleanPath(info.absoluteFilePath());
    return QCryptographicHash::hash(folder.toUtf8(), QCryptographicHash::Sha256).toHex().left(24);
}

QString SingleInstance::defaultRuntimeDir()
{
    const QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    return dir.isEmpty() ? QDir::tempPath() : dir;
}

QString SingleInstance::lockPath() const
{
    return m_dir + QLatin1String("/quillbrook-") + QLatin1String(m_key) + QLatin1String(".lock");
}

QString SingleInstance::serverName() const
{
    return m_dir + QLatin1String("/quillbrook-") + QLatin1String(m_key) + QLatin1String(".socket");
}

SingleInstance::Claim SingleInstance::claim(std::chrono::milliseconds budget)
{
    const QDeadlineTimer deadline(budget);
    for (;;) {
        QString error;
        const ProcessLock::Result lock = m_lock->tryLock(&error);
        if (lock == ProcessLock::Result::Locked) {
            m_guarded = true;
            listen();
            return Claim::Owner;
        }
        if (lock == ProcessLock::Result::Failed) {
            // No lock can be made here (a read-only or missing directory):
            // refusing to start would help nobody.
            qWarning("Quillbrook: cannot lock %s (%s); not guarding against a second launcher", qPrintable(lockPath()),
                     qPrintable(error));
            return Claim::Owner;
        }
        // The owner may be between taking the lock and listening, or may
        // just have ended: try again until the budget is spent.
        if (askOwner(int(std::max<qint64>(deadline.remainingTime(), 1))))
            return Claim::HandedOver;
        if (deadline.remainingTime() <= kRetryMs)
            return Claim::NoAnswer;
        QThread::msleep(kRetryMs);
    }
}

bool SingleInstance::listen()
{
    // A killed owner leaves its socket behind; we hold the lock, so it is
    // stale and listen() replaces it.
    m_server = new UnixSocket(this);
    connect(m_server, &UnixSocket::accepted, this, &SingleInstance::acceptRequest);
    if (m_server->listen(serverName()))
        return true;
    qWarning("Quillbrook: cannot listen on %s: %s", qPrintable(serverName()), qPrintable(m_server->errorString()));
    return false;
}

bool SingleInstance::askOwner(int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    UnixSocket socket;
    // Once the line is in the owner's socket it is delivered, even if the
    // owner is busy loading and reads it a moment later.
    const QByteArrayView line = m_request == Request::Show ? kShow : m_request == Request::Toggle ? kToggle : kActivate;
    return socket.connectTo(serverName(), std::chrono::milliseconds(timeoutMs)) && socket.write(line)
           && socket.waitForWritten(std::chrono::milliseconds(std::max<qint64>(deadline.remainingTime(), 0)));
}

void SingleInstance::acceptRequest(UnixSocket *socket)
{
    connect(socket, &UnixSocket::readyRead, this, [this, socket] { readRequest(socket); });
    connect(socket, &UnixSocket::disconnected, socket, &QObject::deleteLater);
}

void SingleInstance::readRequest(UnixSocket *socket)
{
    for (QByteArray line = socket->readLine(); !line.isEmpty(); line = socket->readLine()) {
        if (line == kActivate)
            Q_EMIT activationRequested();
        else if (line == kShow || line == kToggle)
            Q_EMIT summonRequested(line == kToggle);
    }
    if (socket->bytesAvailable() > kMaxRequest) {
        socket->close();
        socket->deleteLater();
    }
}
