// SPDX-License-Identifier: MIT
#include "platform/SwayPlacement.h"

#include "core/session/UnixSocket.h"

#include <QCoreApplication>
#include <QRegularExpression>
#include <QTimer>

#include <cstring>

namespace {

constexpr char kMagic[] = "i3-ipc";
constexpr quint32 kRunCommand = 0;
constexpr int kAttempts = 20;
constexpr int kRetryMs = 100;

// One command, sent again until sway says it found the window. i3-IPC frames
// are the magic, the payload's length and the message type in the host's
// byte order, then the payload.
class Request : public QObject
{
public:
    Request(QObject *owner, QByteArray command)
        : QObject(owner)
        , m_command(std::move(command))
        , m_socket(new UnixSocket(this))
    {
        connect(m_socket, &UnixSocket::readyRead, this, &Request::read);
        connect(m_socket, &UnixSocket::disconnected, this, &QObject::deleteLater);
        // A local socket is connected or refused at once, so the window's
        // show does not wait; the rest runs from the event loop.
        if (m_socket->connectTo(qEnvironmentVariable("SWAYSOCK")))
            send();
        else
            deleteLater();
    }

private:
    void send()
    {
        QByteArray frame(kMagic, int(std::strlen(kMagic)));
        const quint32 header[2] = {quint32(m_command.size()), kRunCommand};
        frame.append(reinterpret_cast<const char *>(header), sizeof header);
        frame.append(m_command);
        m_socket->write(frame);
    }

    void read()
    {
        m_reply += m_socket->readAll();
        const qsizetype headerSize = qsizetype(std::strlen(kMagic) + 8);
        if (m_reply.size() < headerSize)
            return;
        quint32 length = 0;
        std::memcpy(&length, m_reply.constData() + std::strlen(kMagic), sizeof length);
        if (m_reply.size() < headerSize + qsizetype(length))
            return;
        const QByteArray body = m_reply.mid(headerSize, length);
        m_reply.clear();
        // "No matching node" until sway has mapped the window.
        if (body.contains("\"success\": true") || body.contains("\"success\":true") || ++m_attempts >= kAttempts) {
            deleteLater();
            return;
        }
        QTimer::singleShot(kRetryMs, this, &Request::send);
    }

    QByteArray m_command;
    UnixSocket *m_socket;
    QByteArray m_reply;
    int m_attempts = 0;
};

} // namespace

namespace SwayPlacement {

bool available()
{
    return !qEnvironmentVariableIsEmpty("SWAYSOCK");
}

void moveTo(QObject *owner, const QString &title, QPoint pos)
{
    if (!available())
        return;
    // Dialogs of the same process have other titles.
    const QString command = QStringLiteral("[pid=%1 title=\"^%2$\"] move absolute position %3 %4")
                                .arg(QCoreApplication::applicationPid())
                                .arg(QRegularExpression::escape(title))
                                .arg(pos.x())
                                .arg(pos.y());
    new Request(owner, command.toUtf8());
}

} // namespace SwayPlacement
