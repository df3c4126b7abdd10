// SPDX-License-Identifier: MIT
// A launcher killed while it saves: copies of the bar save a group list file
// and the settings file in a loop and are killed with SIGKILL at random
// moments. Each file must then hold exactly its old or its new content.
#include "app/Unit1.h"
#include "BarFixture.h"
#include "GroupSetProbe.h"
#include "BarProbe.h"
#include "core/files/SaveLeftovers.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QTest>

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

using TestFiles::readBytes;

// Contents large enough that a write takes many system calls.
struct Content {
    QStringList lines;
    QString groupName;
};

Content content(char tag)
{
    Content c;
    for (int i = 0; i < 400; ++i)
        c.lines.append(u"/home/user/%1/programs/tool-%2,--option=%3,Tool %2"_s.arg(QChar(tag))
                           .arg(i)
                           .arg(QString(120, QChar(tag))));
    c.groupName = QString(3000, QChar(tag));
    return c;
}

void saveBoth(TForm1 &form, const Content &c)
{
    // Read first, as a launcher knows the file it replaces: a save over a
    // file that another copy rewrote since would merge instead of write.
    BarProbe::LoadGroup(form, form.MenuIndex());
    GroupSetProbe::unsavedModel(form.LaunchPath, form.MenuIndex()).setLines(c.lines);
    BarProbe::setGroupName(form, 1, c.groupName);
    form.SaveGroup();
    form.WriteIniFile();
}

} // namespace

class TestSaveCrash : public QObject, protected BarFixture
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void killedWhileSavingLosesNothing();
};

void TestSaveCrash::init()
{
    QVERIFY(setUp());
    m_closeAnswer = [] { return ErrorReport::CloseChoice::QuitWithoutSaving; };
}

void TestSaveCrash::cleanup()
{
    tearDown();
}

void TestSaveCrash::killedWhileSavingLosesNothing()
{
    constexpr int kTries = 1000;
    constexpr qint64 kBudgetMs = 30000;

    TForm1 form(home());
    const QString groupFile = BarProbe::groupPath(form, form.MenuIndex());
    const QString iniFile = BarProbe::iniPath(form);

    // Hand-written lines in the settings file must survive every write too.
    QFile ini(iniFile);
    QVERIFY(ini.open(QIODevice::WriteOnly));
    for (int i = 0; i < 500; ++i)
        ini.write("[Mine" + QByteArray::number(i) + "]\r\nnote=kept by hand, not ours\r\n");
    ini.close();

    const Content a = content('a');
    const Content b = content('b');
    saveBoth(form, b);
    const QByteArray groupB = readBytes(groupFile);
    const QByteArray iniB = readBytes(iniFile);
    saveBoth(form, a);
    const QByteArray groupA = readBytes(groupFile);
    const QByteArray iniA = readBytes(iniFile);
    QVERIFY(m_shown.isEmpty());
    QVERIFY(groupA != groupB && iniA != iniB);
    QVERIFY(iniA.contains("note=kept by hand"));

    // How long one round of both saves takes, to spread the kills over it.
    QElapsedTimer round;
    round.start();
    for (int i = 0; i < 5; ++i) {
        saveBoth(form, b);
        saveBoth(form, a);
    }
    const qint64 roundUs = std::max<qint64>(round.nsecsElapsed() / 5000, 100);

    QElapsedTimer budget;
    budget.start();
    int tries = 0;
    while (tries < kTries && !budget.hasExpired(kBudgetMs)) {
        const pid_t child = ::fork();
        QVERIFY(child >= 0);
        if (child == 0) {
            // A copy of the bar that does nothing but save, until killed.
            for (;;) {
                saveBoth(form, b);
                saveBoth(form, a);
            }
        }
        ::usleep(useconds_t(QRandomGenerator::global()->bounded(roundUs * 2)));
        QCOMPARE(::kill(child, SIGKILL), 0);
        int status = 0;
        QCOMPARE(::waitpid(child, &status, 0), child);
        QVERIFY2(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL, "the saving copy ended on its own");
        ++tries;

        const QByteArray group = readBytes(groupFile);
        QVERIFY2(group == groupA || group == groupB,
                 qPrintable(u"try %1: the group list file holds %2 other bytes"_s.arg(tries).arg(group.size())));
        const QByteArray settings = readBytes(iniFile);
        QVERIFY2(settings == iniA || settings == iniB,
                 qPrintable(u"try %1: the settings file holds %2 other bytes"_s.arg(tries).arg(settings.size())));
    }
    // What the killed copies left is of the form the next start removes,
    // and is all that is not the launcher's own files.
    const QStringList ownFiles{QFileInfo(groupFile).fileName(), QFileInfo(iniFile).fileName()};
    const QStringList removed = removeSaveLeftovers(home(), ownFiles);
    QStringList left = QDir(home()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    left.sort();
    QStringList expected = ownFiles;
    expected.sort();
    QCOMPARE(left, expected);

    // The bar itself goes on saving where the copies were killed.
    saveBoth(form, b);
    QCOMPARE(readBytes(groupFile), groupB);
    QCOMPARE(readBytes(iniFile), iniB);
    QVERIFY(m_shown.isEmpty());
    qInfo("%d kills left %lld temporary files, a round of saves took %lld us", tries, qlonglong(removed.size()),
          roundUs);
    QVERIFY2(tries >= 100, "too few kills in the time allowed");
}

QTEST_MAIN(TestSaveCrash)
#include "tst_savecrash.moc"
