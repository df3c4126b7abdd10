// SPDX-License-Identifier: MIT
// The launcher's local socket: what it does to files on its path, who may
// connect, data larger than the kernel's buffer, and a peer that goes away.
#include "core/session/UnixSocket.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

class TestUnixSocket : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void listenOnPath_data();
    void listenOnPath();
    void onlyTheUserConnects();
    void largeWriteArrivesWhole();
    void vanishedPeer();
};

void TestUnixSocket::initTestCase()
{
    // The default action, as in the launcher: SIGPIPE would end this test.
    std::signal(SIGPIPE, SIG_DFL);
}

void TestUnixSocket::listenOnPath_data()
{
    QTest::addColumn<QString>("name");      // in a temporary folder
    QTest::addColumn<QByteArray>("before"); // a file there first: "socket", "file" or none
    QTest::addColumn<bool>("listens");
    QTest::newRow("new") << u"a.socket"_s << QByteArray() << true;
    QTest::newRow("stale socket") << u"a.socket"_s << "socket"_ba << true;
    QTest::newRow("someone's file") << u"a.socket"_s << "file"_ba << false;
    QTest::newRow("too long for an address") << QString(120, u'n') << QByteArray() << false;
}

void TestUnixSocket::listenOnPath()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, before);
    QFETCH(bool, listens);

    QTemporaryDir dir;
    const QString path = dir.filePath(name);
    if (before == "socket") {
        // A listener that ended without removing its file, as a killed one does.
        const int killed = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        qstrncpy(address.sun_path, QFile::encodeName(path).constData(), sizeof address.sun_path);
        QCOMPARE(::bind(killed, reinterpret_cast<sockaddr *>(&address), sizeof address), 0);
        ::close(killed);
    } else if (before == "file") {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write("notes") == 5);
    }

    UnixSocket server;
    QCOMPARE(server.listen(path), listens);
    UnixSocket client;
    QCOMPARE(client.connectTo(path), listens);
    if (!listens) {
        QVERIFY(!server.errorString().isEmpty());
        if (before == "file") {
            QFile file(path);
            QVERIFY(file.open(QIODevice::ReadOnly));
            QCOMPARE(file.readAll(), "notes"_ba);
        }
        return;
    }
    // The file goes with the listener.
    server.close();
    QVERIFY(!QFile::exists(path));
}

void TestUnixSocket::onlyTheUserConnects()
{
    // Even where the user lets everyone write their new files.
    const mode_t umask = ::umask(0);
    QTemporaryDir dir;
    UnixSocket server;
    const bool listens = server.listen(dir.filePath(u"a.socket"_s));
    ::umask(umask);
    QVERIFY(listens);
    struct stat status {};
    QCOMPARE(::stat(QFile::encodeName(dir.filePath(u"a.socket"_s)).constData(), &status), 0);
    QVERIFY(S_ISSOCK(status.st_mode));
    QCOMPARE(status.st_mode & 0777, mode_t(0600));
}

void TestUnixSocket::largeWriteArrivesWhole()
{
    QTemporaryDir dir;
    UnixSocket server;
    QVERIFY(server.listen(dir.filePath(u"a.socket"_s)));
    QByteArray received;
    bool ended = false;
    connect(&server, &UnixSocket::accepted, this, [&](UnixSocket *connection) {
        connect(connection, &UnixSocket::readyRead, this, [&, connection] { received += connection->readAll(); });
        connect(connection, &UnixSocket::disconnected, this, [&] { ended = true; });
    });

    // Far more than the kernel holds: the rest goes as the reader takes it.
    QByteArray data(8 << 20, Qt::Uninitialized);
    for (qsizetype i = 0; i < data.size(); ++i)
        data[i] = char(i * 7 / 5);
    UnixSocket client;
    QVERIFY(client.connectTo(dir.filePath(u"a.socket"_s)));
    QVERIFY(client.write(data));
    QTRY_COMPARE_WITH_TIMEOUT(received.size(), data.size(), 10000);
    QVERIFY(received == data);
    client.close();
    QTRY_VERIFY(ended);
}

void TestUnixSocket::vanishedPeer()
{
    QTemporaryDir dir;
    UnixSocket server;
    QVERIFY(server.listen(dir.filePath(u"a.socket"_s)));
    connect(&server, &UnixSocket::accepted, this, [](UnixSocket *connection) {
        connection->close();
        connection->deleteLater();
    });
    UnixSocket client;
    QSignalSpy ended(&client, &UnixSocket::disconnected);
    QVERIFY(client.connectTo(dir.filePath(u"a.socket"_s)));
    QTRY_COMPARE(ended.count(), 1);
    QVERIFY(!client.isOpen());
    QVERIFY(!client.write("late"));

    // Writing to a peer that has gone, before the event loop has noticed,
    // fails quietly: no SIGPIPE.
    const QString path = dir.filePath(u"b.socket"_s);
    const int listener = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    qstrncpy(address.sun_path, QFile::encodeName(path).constData(), sizeof address.sun_path);
    QCOMPARE(::bind(listener, reinterpret_cast<sockaddr *>(&address), sizeof address), 0);
    QCOMPARE(::listen(listener, 1), 0);
    UnixSocket again;
    QSignalSpy endedAgain(&again, &UnixSocket::disconnected);
    QVERIFY(again.connectTo(path));
    ::close(::accept(listener, nullptr, nullptr));
    ::close(listener);
    QVERIFY(!again.write(QByteArray(1 << 20, 'x')));
    QVERIFY(!again.isOpen());
    QVERIFY(!again.errorString().isEmpty());
    QTRY_COMPARE(endedAgain.count(), 1);
}

QTEST_GUILESS_MAIN(TestUnixSocket)
#include "tst_unixsocket.moc"
