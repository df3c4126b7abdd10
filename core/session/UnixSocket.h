// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

#include <chrono>
#include <utility>

class QSocketNotifier;
struct sockaddr_un;

// A stream socket on a path in the file system (AF_UNIX), non-blocking and
// driven by the event loop. Written for the launcher's two local talks (a
// second start asking the first to come forward, and sway's IPC), so that
// the launcher needs no network library.
//
// One object is either a listening socket, which emits accepted() for each
// peer, or a connection. A connection queues what it is given to write and
// sends it as the peer takes it; what arrives is kept until read. When the
// peer goes or the connection fails, the socket closes itself and emits
// disconnected(); a peer that has gone never raises SIGPIPE. Receivers of
// the signals release a socket with deleteLater(), never delete.
class UnixSocket : public QObject
{
    Q_OBJECT

public:
    explicit UnixSocket(QObject *parent = nullptr);
    ~UnixSocket() override;

    // Listens on `path`, readable and writable by the user only. A socket
    // file already there is taken to be stale and replaced; any other file
    // is left alone and listening fails.
    bool listen(const QString &path);

    // Connects to the socket at `path`. A listener whose queue is full is
    // tried again until `timeout` has passed; with no timeout this never
    // waits. Fails at once where nothing listens.
    bool connectTo(const QString &path, std::chrono::milliseconds timeout = {});

    // Queues `data` and sends what the peer takes now; the rest follows from
    // the event loop or waitForWritten(). False once the socket is closed.
    bool write(QByteArrayView data);
    // Sends everything queued within `timeout`, without the event loop.
    bool waitForWritten(std::chrono::milliseconds timeout);

    // What has arrived and is not read yet.
    qsizetype bytesAvailable() const { return m_in.size(); }
    QByteArray readAll();
    // One whole line with its '\n', or nothing while none has arrived.
    QByteArray readLine();

    bool isOpen() const { return m_fd >= 0; }
    void close();
    QString errorString() const { return m_error; }

Q_SIGNALS:
    // A peer has connected; `connection` is a child of this socket.
    void accepted(UnixSocket *connection);
    void readyRead();
    void disconnected();

private:
    // Closes what was open and makes a new socket for `path`'s address; -1
    // with m_error set when either fails.
    int startOver(const QString &path, sockaddr_un *address);
    void adopt(int fd);
    void acceptPending();
    void receive();
    // Sends what the peer takes now; the error that ended the connection, or 0.
    int sendQueued();
    void fail(int error);
    // The same, with disconnected() from the event loop.
    void failLater(int error);

    int m_fd = -1;
    QSocketNotifier *m_readable = nullptr;
    QSocketNotifier *m_writable = nullptr;
    QByteArray m_in;
    QByteArray m_out;
    QString m_error;
    // A listener's file, and which file it is (device, inode).
    QByteArray m_socketFile;
    std::pair<quint64, quint64> m_socketFileId;
};
