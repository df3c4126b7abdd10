// SPDX-License-Identifier: MIT
// One launcher per folder: a second start in the same folder hands over to
// the first, other folders are independent, and a killed launcher leaves
// nothing that blocks the next start.
#include "core/session/SingleInstance.h"
#include "core/session/ProcessLock.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <memory>
#include <optional>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace Qt::StringLiterals;
using Claim = SingleInstance::Claim;

class TestSingleInstance : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    // The launchers' folders and the runtime directory all lie in m_dir.
    QString folder(const QString &name) const;
    QString runtime() const { return m_dir->path() + u"/run"_s; }

private Q_SLOTS:
    void init();
    void cleanup();

    void folderKey_data();
    void folderKey();
    void secondStartHandsOver();
    void requestReachesOwner_data();
    void requestReachesOwner();
    void otherFoldersAreIndependent();
    void killedOwnerDoesNotBlock();
    void silentOwnerDoesNotHang();
    void startedProgramDoesNotKeepTheFolder();
    void noLockPossibleStillStarts();
    void strayClientsAreHarmless_data();
    void strayClientsAreHarmless();
    void runtimeDirTooLongForASocket();
};

QString TestSingleInstance::folder(const QString &name) const
{
    const QString path = m_dir->path() + u'/' + name;
    QDir().mkpath(path);
    return path + u'/';
}

void TestSingleInstance::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    QVERIFY(QDir().mkpath(runtime()));
}

void TestSingleInstance::cleanup()
{
    m_dir.reset();
}

void TestSingleInstance::folderKey_data()
{
    QTest::addColumn<QString>("other"); // relative to the temporary folder
    QTest::addColumn<bool>("same");     // as the key of "bar/"
    QTest::newRow("itself") << u"bar/"_s << true;
    QTest::newRow("no trailing separator") << u"bar"_s << true;
    QTest::newRow("dots") << u"./other/../bar/"_s << true;
    QTest::newRow("through a link") << u"link/"_s << true;
    QTest::newRow("another folder") << u"other/"_s << false;
    QTest::newRow("a folder inside") << u"bar/inner/"_s << false;
}

void TestSingleInstance::folderKey()
{
    QFETCH(QString, other);
    QFETCH(bool, same);

    const QString bar = folder(u"bar"_s);
    folder(u"other"_s);
    folder(u"bar/inner"_s);
    QVERIFY(QFile::link(bar.chopped(1), m_dir->path() + u"/link"_s));
    const QByteArray key = SingleInstance::folderKey(bar);
    QCOMPARE(SingleInstance::folderKey(m_dir->path() + u'/' + other) == key, same);
}

void TestSingleInstance::secondStartHandsOver()
{
    const QString home = folder(u"bar"_s);
    std::optional<SingleInstance> first(std::in_place, home, runtime());
    QCOMPARE(first->claim(), Claim::Owner);
    QSignalSpy asked(&*first, &SingleInstance::activationRequested);

    for (int start = 1; start <= 2; ++start) {
        SingleInstance second(home, runtime());
        QElapsedTimer clock;
        clock.start();
        QCOMPARE(second.claim(), Claim::HandedOver);
        QVERIFY(clock.elapsed() < 1000);
        QTRY_COMPARE(asked.count(), start);
    }

    // Once the first has gone, the next start owns the folder.
    first.reset();
    SingleInstance next(home, runtime());
    QCOMPARE(next.claim(), Claim::Owner);
}

void TestSingleInstance::requestReachesOwner_data()
{
    QTest::addColumn<SingleInstance::Request>("request");
    QTest::addColumn<int>("activations");
    QTest::addColumn<QVariantList>("summons"); // the `toggle` of each summonRequested
    QTest::newRow("plain start") << SingleInstance::Request::Activate << 1 << QVariantList();
    QTest::newRow("--show") << SingleInstance::Request::Show << 0 << QVariantList{false};
    QTest::newRow("--toggle") << SingleInstance::Request::Toggle << 0 << QVariantList{true};
}

void TestSingleInstance::requestReachesOwner()
{
    QFETCH(SingleInstance::Request, request);
    QFETCH(int, activations);
    QFETCH(QVariantList, summons);
    const QString home = folder(u"bar"_s);
    std::optional<SingleInstance> owner(std::in_place, home, runtime());
    QCOMPARE(owner->claim(), Claim::Owner);
    QSignalSpy activated(&*owner, &SingleInstance::activationRequested);
    QSignalSpy summoned(&*owner, &SingleInstance::summonRequested);

    SingleInstance second(home, runtime());
    second.setRequest(request);
    QCOMPARE(second.claim(), Claim::HandedOver);
    QTRY_COMPARE(activated.count() + summoned.count(), 1);
    QCOMPARE(activated.count(), activations);
    QVariantList toggles;
    for (const QList<QVariant> &signal : std::as_const(summoned))
        toggles.append(signal.at(0));
    QCOMPARE(toggles, summons);

    // With no launcher on the folder, the request starts one.
    owner.reset();
    SingleInstance alone(home, runtime());
    alone.setRequest(request);
    QCOMPARE(alone.claim(), Claim::Owner);
}

void TestSingleInstance::otherFoldersAreIndependent()
{
    SingleInstance a(folder(u"a"_s), runtime());
    SingleInstance b(folder(u"b"_s), runtime());
    QSignalSpy askedA(&a, &SingleInstance::activationRequested);
    QCOMPARE(a.claim(), Claim::Owner);
    QCOMPARE(b.claim(), Claim::Owner);
    QVERIFY(a.lockPath() != b.lockPath() && a.serverName() != b.serverName());
    QTest::qWait(50);
    QCOMPARE(askedA.count(), 0);
}

void TestSingleInstance::killedOwnerDoesNotBlock()
{
    const QString home = folder(u"bar"_s);
    int ready[2];
    QCOMPARE(::pipe(ready), 0);
    const pid_t child = ::fork();
    QVERIFY(child >= 0);
    if (child == 0) {
        // A launcher that owns the folder until it is killed.
        SingleInstance owner(home, runtime());
        const char answer = owner.claim() == Claim::Owner ? 'y' : 'n';
        (void)::write(ready[1], &answer, 1);
        for (;;)
            ::pause();
    }
    ::close(ready[1]);
    char answer = 0;
    QCOMPARE(::read(ready[0], &answer, 1), ssize_t(1));
    ::close(ready[0]);
    QCOMPARE(answer, 'y');

    {
        // A busy owner (this one never reads) still gets the request.
        SingleInstance second(home, runtime());
        QCOMPARE(second.claim(), Claim::HandedOver);
    }

    QCOMPARE(::kill(child, SIGKILL), 0);
    int status = 0;
    QCOMPARE(::waitpid(child, &status, 0), child);
    // The killed owner's lock file and socket are still there.
    SingleInstance next(home, runtime());
    QVERIFY(QFile::exists(next.lockPath()));
    QVERIFY(QFile::exists(next.serverName()));
    QElapsedTimer clock;
    clock.start();
    QCOMPARE(next.claim(), Claim::Owner);
    QVERIFY(clock.elapsed() < 1000);

    // And it serves the folder on the old socket's name.
    QSignalSpy asked(&next, &SingleInstance::activationRequested);
    SingleInstance third(home, runtime());
    QCOMPARE(third.claim(), Claim::HandedOver);
    QTRY_COMPARE(asked.count(), 1);
}

void TestSingleInstance::silentOwnerDoesNotHang()
{
    // A live process holds the folder but listens nowhere: the start gives
    // up in time and does not run beside it.
    const QString home = folder(u"bar"_s);
    SingleInstance start(home, runtime());
    ProcessLock held(start.lockPath());
    QCOMPARE(held.tryLock(), ProcessLock::Result::Locked);

    QElapsedTimer clock;
    clock.start();
    QCOMPARE(start.claim(std::chrono::milliseconds(400)), Claim::NoAnswer);
    QVERIFY2(clock.elapsed() < 1000, qPrintable(QString::number(clock.elapsed())));
    QVERIFY(clock.elapsed() >= 300);
}

void TestSingleInstance::startedProgramDoesNotKeepTheFolder()
{
    // A program started from the bar may run long after the bar has gone;
    // it must not hold the bar's folder meanwhile.
    const QString home = folder(u"bar"_s);
    std::optional<SingleInstance> first(std::in_place, home, runtime());
    QCOMPARE(first->claim(), Claim::Owner);
    const pid_t program = ::fork();
    QVERIFY(program >= 0);
    if (program == 0) {
        ::execl("/bin/sleep", "sleep", "30", static_cast<char *>(nullptr));
        ::_exit(127);
    }
    first.reset();

    SingleInstance next(home, runtime());
    const Claim claim = next.claim(std::chrono::milliseconds(300));
    ::kill(program, SIGKILL);
    ::waitpid(program, nullptr, 0);
    QCOMPARE(claim, Claim::Owner);
}

void TestSingleInstance::noLockPossibleStillStarts()
{
    // A runtime directory that cannot hold the lock guards nothing, but the
    // bar still starts.
    const QString home = folder(u"bar"_s);
    SingleInstance start(home, m_dir->path() + u"/missing/run"_s);
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"cannot lock .*"_s));
    QCOMPARE(start.claim(), Claim::Owner);
}

void TestSingleInstance::strayClientsAreHarmless_data()
{
    QTest::addColumn<QByteArrayList>("parts"); // written one after another
    QTest::addColumn<int>("activations");
    QTest::newRow("silent and still connected") << QByteArrayList{} << 0;
    QTest::newRow("garbage") << QByteArrayList{"activatex\nhello\n\0\xff\n"_ba} << 0;
    QTest::newRow("endless line") << QByteArrayList{QByteArray(100000, 'a')} << 0;
    QTest::newRow("two requests at once") << QByteArrayList{"activate\nactivate\n"_ba} << 2;
    QTest::newRow("request in pieces") << QByteArrayList{"acti"_ba, "vate\n"_ba} << 1;
}

void TestSingleInstance::strayClientsAreHarmless()
{
    QFETCH(QByteArrayList, parts);
    QFETCH(int, activations);

    const QString home = folder(u"bar"_s);
    SingleInstance owner(home, runtime());
    QCOMPARE(owner.claim(), Claim::Owner);
    QSignalSpy asked(&owner, &SingleInstance::activationRequested);

    // Another program of the user's talks to the socket on its own terms.
    const int stray = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    QVERIFY(stray >= 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    qstrncpy(address.sun_path, QFile::encodeName(owner.serverName()).constData(), sizeof address.sun_path);
    QCOMPARE(::connect(stray, reinterpret_cast<sockaddr *>(&address), sizeof address), 0);
    for (const QByteArray &part : parts) {
        // The owner may cut off an endless line before it is all sent.
        (void)::send(stray, part.constData(), size_t(part.size()), MSG_NOSIGNAL);
        QTest::qWait(20);
    }
    QTRY_COMPARE(asked.count(), activations);

    // The stray client, still connected, keeps nobody else out.
    SingleInstance second(home, runtime());
    QCOMPARE(second.claim(), Claim::HandedOver);
    QTRY_COMPARE(asked.count(), activations + 1);
    ::close(stray);
}

void TestSingleInstance::runtimeDirTooLongForASocket()
{
    // Longer than a socket address holds, short enough for a lock file.
    const QString deep = runtime() + u'/' + QString(60, u'd') + u'/' + QString(60, u'e');
    QVERIFY(QDir().mkpath(deep));
    const QString home = folder(u"bar"_s);
    SingleInstance first(home, deep);
    QVERIFY(QFile::encodeName(first.serverName()).size() > 108);
    QCOMPARE(first.claim(), Claim::Owner);

    // The folder is still guarded: a second start does not run beside it.
    SingleInstance second(home, deep);
    QCOMPARE(second.claim(std::chrono::milliseconds(200)), Claim::NoAnswer);
}

QTEST_GUILESS_MAIN(TestSingleInstance)
#include "tst_singleinstance.moc"
