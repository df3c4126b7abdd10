// SPDX-License-Identifier: MIT
#include "app/SingleInstance.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QStandardPaths>
#include <QThread>

namespace {

constexpr QByteArrayView kActivate = "activate\n";
// A request is one short line; anything longer is not ours.
constexpr qint64 kMaxRequest = 64;
constexpr int kRetryMs = 50;

} // namespace

SingleInstance::SingleInstance(const QString &homePath, const QString &runtimeDir, QObject *parent)
    : QObject(parent)
    , m_dir(runtimeDir.isEmpty() ? defaultRuntimeDir() : runtimeDir)
    , m_key(folderKey(homePath))
    , m_lock(std::make_unique<QLockFile>(lockPath()))
{
    // Only a dead owner makes the lock stale: a launcher runs for weeks.
    m_lock->setStaleLockTime(0);
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
        if (m_lock->tryLock(0)) {
            listen();
            return Claim::Owner;
        }
        if (m_lock->error() != QLockFile::LockFailedError) {
            // No lock can be made here (a read-only or missing directory):
            // refusing to start would help nobody.
            qWarning("Quillbrook: cannot lock %s; not guarding against a second launcher",
                     qPrintable(lockPath()));
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
    // A killed owner leaves its socket behind; we hold the lock, so it is stale.
    QLocalServer::removeServer(serverName());
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    connect(m_server, &QLocalServer::newConnection, this, &SingleInstance::acceptRequests);
    if (m_server->listen(serverName()))
        return true;
    qWarning("Quillbrook: cannot listen on %s: %s", qPrintable(serverName()),
             qPrintable(m_server->errorString()));
    return false;
}

bool SingleInstance::askOwner(int timeoutMs)
{
    QLocalSocket socket;
    socket.connectToServer(serverName());
    if (!socket.waitForConnected(timeoutMs))
        return false;
    // Once the line is in the owner's socket it is delivered, even if the
    // owner is busy loading and reads it a moment later.
    socket.write(kActivate.data(), kActivate.size());
    if (!socket.waitForBytesWritten(timeoutMs))
        return false;
    socket.disconnectFromServer();
    return true;
}

void SingleInstance::acceptRequests()
{
    while (QLocalSocket *socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { readRequest(socket); });
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        // The asking start may have written and gone before we got here.
        readRequest(socket);
    }
}

void SingleInstance::readRequest(QLocalSocket *socket)
{
    while (socket->canReadLine()) {
        if (socket->readLine(kMaxRequest + 1) == kActivate)
            Q_EMIT activationRequested();
    }
    if (socket->bytesAvailable() > kMaxRequest)
        socket->abort();
}
