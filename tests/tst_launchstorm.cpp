// SPDX-License-Identifier: MIT
// A storm of clicks: 200 in a second on entries of every kind. Every launch
// must happen or be reported, the bar must go on handling events while the
// launches are under way, and no zombie and no thread may remain.
#include "app/Unit1.h"
#include "launcher/LaunchButton.h"
#include "BarFixture.h"
#include "TestDesktop.h"
#include "BarProbe.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <condition_variable>
#include <memory>
#include <mutex>

#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

using TestDesktop::zombieChildren;
using TestFiles::writeBytes;

constexpr int kClicks = 200;
constexpr int kSettleMs = 60000;

int threadCount()
{
    return int(QDir(u"/proc/self/task"_s).entryList(QDir::Dirs | QDir::NoDotAndDotDot).size());
}

// Stands in for the desktop; holds every call until released.
struct GatedOpener {
    std::mutex mutex;
    std::condition_variable released;
    bool open = false;
    QStringList calls;
    int waiting = 0;
    int returned = 0;

    QString call(const QString &file)
    {
        std::unique_lock lock(mutex);
        calls.append(file);
        ++waiting;
        released.wait(lock, [this] { return open; });
        --waiting;
        ++returned;
        return file.endsWith(u".fail"_s) ? u"refused"_s : QString();
    }
    void release()
    {
        {
            std::lock_guard lock(mutex);
            open = true;
        }
        released.notify_all();
    }
    template<typename F>
    auto locked(F f)
    {
        std::lock_guard lock(mutex);
        return f();
    }
};

} // namespace

class TestLaunchStorm : public QObject, protected BarFixture
{
    Q_OBJECT

private:
    QTemporaryDir m_base;

    QString records() const { return m_base.filePath(u"records"_s); }
    int recordCount() const { return int(QDir(records()).entryList(QDir::Files).size()); }
    // Clicks the buttons in turn, one every 5 ms, from the event loop.
    void storm(const QList<LaunchButton *> &buttons);

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void stormWhileOpeningWaits();
    void stormOfRealLaunches();
};

void TestLaunchStorm::initTestCase()
{
    QVERIFY(m_base.isValid());
    // Nothing but our own programs can be started from here on.
    const auto [applications, config] = TestDesktop::isolate(QDir(m_base.path()));
    const QString data = QFileInfo(applications).path();
    qputenv("QB_STORM_OUT", QFile::encodeName(records()));
    QVERIFY(QDir().mkpath(records()));

    // Each start leaves one file of its own.
    const QString recorder = m_base.filePath(u"recorder"_s);
    QVERIFY(writeBytes(recorder, "#!/bin/sh\nexec mktemp \"$QB_STORM_OUT/run.XXXXXXXX\" >/dev/null\n"));
    QVERIFY(QFile::setPermissions(recorder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    QVERIFY(writeBytes(data + u"/applications/qb-storm.desktop"_s,
                       "[Desktop Entry]\nType=Application\nName=Storm\nExec=\"" + QFile::encodeName(recorder)
                           + "\" %F\nMimeType=inode/directory;text/plain;\nTerminal=false\n"));
    QVERIFY(writeBytes(config + u"/mimeapps.list"_s,
                       "[Default Applications]\ninode/directory=qb-storm.desktop\ntext/plain=qb-storm.desktop\n"));
}

void TestLaunchStorm::init()
{
    QVERIFY(setUp());
    const QStringList old = QDir(records()).entryList(QDir::Files);
    for (const QString &name : old)
        QFile::remove(QDir(records()).filePath(name));
}

void TestLaunchStorm::cleanup()
{
    tearDown();
}

void TestLaunchStorm::storm(const QList<LaunchButton *> &buttons)
{
    int clicks = 0;
    QTimer timer;
    timer.setInterval(5);
    connect(&timer, &QTimer::timeout, this, [&] {
        buttons.at(clicks % buttons.size())->click();
        if (++clicks == kClicks)
            timer.stop();
    });
    timer.start();
    QTRY_COMPARE_WITH_TIMEOUT(clicks, kClicks, kSettleMs);
}

void TestLaunchStorm::stormWhileOpeningWaits()
{
    auto fake = std::make_shared<GatedOpener>();
    TForm1 form(home());
    form.setOpener([fake](const QString &file, const QString &, const QString &, QString *error) {
        *error = fake->call(file);
        return error->isEmpty();
    });
    const QStringList files = {u"/a/program"_s, u"/b/entry.desktop"_s, u"/c/folder"_s, u"/d/note.txt"_s,
                               u"/e/refused.fail"_s};
    for (const QString &file : files) {
        QVERIFY(form.LaunchPath.insert(form.MenuIndex(), -1, {TRec{file, u"-x"_s, u"Hint"_s}}));
    }
    const int threadsBefore = threadCount();

    // The bar goes on while every worker waits: the timer that clicks is
    // served throughout, and no more launches run at once than the pool
    // allows; the rest wait their turn.
    storm(BarProbe::LaunchBtn(form));
    QTRY_COMPARE_WITH_TIMEOUT(fake->locked([&] { return fake->waiting; }), TForm1::kLaunchThreads, kSettleMs);
    QTest::qWait(100);
    QCOMPARE(fake->locked([&] { return fake->waiting; }), TForm1::kLaunchThreads);
    QVERIFY(m_shown.isEmpty());

    fake->release();
    QTRY_COMPARE_WITH_TIMEOUT(fake->locked([&] { return fake->returned; }), kClicks, kSettleMs);
    const int refused = kClicks / int(files.size());
    QTRY_COMPARE_WITH_TIMEOUT(m_shown.size(), refused, kSettleMs);
    const QStringList calls = fake->locked([&] { return fake->calls; });
    for (const QString &file : files)
        QCOMPARE(calls.count(file), kClicks / int(files.size()));
    QTRY_COMPARE_WITH_TIMEOUT(threadCount(), threadsBefore, kSettleMs);
}

void TestLaunchStorm::stormOfRealLaunches()
{
    const QString recorder = m_base.filePath(u"recorder"_s);
    QVERIFY(writeBytes(home() + u"storm.desktop"_s, "[Desktop Entry]\nType=Application\nName=Storm\nExec=\""
                                                        + QFile::encodeName(recorder) + "\" %F\n"));
    QVERIFY(QDir().mkpath(home() + u"a folder"_s));
    QVERIFY(writeBytes(home() + u"note.txt"_s, "plain text\n"));
    QVERIFY(writeBytes(home() + u"blob.qbunknown"_s, QByteArray("\x00\x01\xff", 3)));
    QVERIFY(writeBytes(home() + u"broken.desktop"_s, "not an entry\n"));

    TForm1 form(home());
    // A program, a desktop entry, a folder, a document, a file no program
    // opens, a broken desktop entry and a file that is gone.
    for (const QString &file : {recorder, home() + u"storm.desktop"_s, home() + u"a folder"_s, home() + u"note.txt"_s,
                                home() + u"blob.qbunknown"_s, home() + u"broken.desktop"_s, home() + u"gone.txt"_s}) {
        QVERIFY(form.LaunchPath.insert(form.MenuIndex(), -1, {TRec{file, {}, u"Hint"_s}}));
    }

    // GIO starts threads of its own at its first use; they are no leak.
    for (LaunchButton *button : std::as_const(BarProbe::LaunchBtn(form)))
        button->click();
    const int kinds = int(BarProbe::LaunchBtn(form).size());
    QTRY_COMPARE_WITH_TIMEOUT(recordCount() + m_shown.size(), kinds, kSettleMs);
    QTest::qWait(500);
    const int threadsBefore = threadCount();
    const int recordsBefore = recordCount();
    const int shownBefore = int(m_shown.size());

    storm(BarProbe::LaunchBtn(form));
    QTRY_COMPARE_WITH_TIMEOUT(recordCount() + m_shown.size(), recordsBefore + shownBefore + kClicks, kSettleMs);
    // The program and the desktop entry start every time; the last three
    // fail every time and say so.
    const auto clicksOn = [kinds](int i) { return kClicks / kinds + (i < kClicks % kinds ? 1 : 0); };
    QVERIFY(recordCount() - recordsBefore >= clicksOn(0) + clicksOn(1));
    QVERIFY(m_shown.size() - shownBefore >= clicksOn(4) + clicksOn(5) + clicksOn(6));
    qInfo("%d started, %d reported", recordCount() - recordsBefore, int(m_shown.size()) - shownBefore);
    QTRY_COMPARE_WITH_TIMEOUT(zombieChildren(), QStringList(), kSettleMs);
    QTRY_COMPARE_WITH_TIMEOUT(threadCount(), threadsBefore, kSettleMs);
}

QTEST_MAIN(TestLaunchStorm)
#include "tst_launchstorm.moc"
