// SPDX-License-Identifier: MIT
// Opening an entry: what a click hands over, on which thread, what a failure
// tells the user, and what a real program, desktop entry, folder or document
// receives when it is started.
#include "app/Unit1.h"
#include "editor/Unit3.h"
#include "launcher/LaunchButton.h"
#include "core/entries/LaunchRequest.h"
#include "core/entries/PathRules.h"
#include "platform/Opener.h"
#include "BarFixture.h"
#include "TestDesktop.h"
#include "BarProbe.h"

#include <QCoreApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QFile>
#include <QMutex>
#include <QSemaphore>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>
#include <QThread>

#include <gio/gio.h>

#include <unistd.h>

#include <memory>

#ifndef QB_RECORDER
#error "QB_RECORDER must name the recorder program"
#endif

using namespace Qt::StringLiterals;

namespace {

using TestDesktop::zombieChildren;
using TestFiles::writeBytes;

constexpr int kSettleMs = 30000;

struct OpenCall {
    QString file;
    QString params;
    QString dir;
    bool operator==(const OpenCall &) const = default;
};

char *toString(const OpenCall &call)
{
    return QTest::toString(u"(%1 | %2 | %3)"_s.arg(call.file, call.params, call.dir));
}

// Stands in for the desktop: records what it is asked to open. It is called
// on the click's worker thread, so everything it holds is locked.
class FakeOpener
{
public:
    QString reason; // what every call answers; set before clicking
    bool gated = false;

    QList<OpenCall> calls() const
    {
        QMutexLocker lock(&m_mutex);
        return m_calls;
    }
    int returned() const
    {
        QMutexLocker lock(&m_mutex);
        return m_returned;
    }
    void open(int count) { m_gate.release(count); }

    static TForm1::OpenFunction function(const std::shared_ptr<FakeOpener> &fake)
    {
        return [fake](const QString &file, const QString &params, const QString &dir, QString *error) {
            {
                QMutexLocker lock(&fake->m_mutex);
                fake->m_calls.append({file, params, dir});
            }
            // A test that fails while a call waits must not hang the run.
            if (fake->gated)
                fake->m_gate.tryAcquire(1, kSettleMs);
            QMutexLocker lock(&fake->m_mutex);
            ++fake->m_returned;
            *error = fake->reason;
            return fake->reason.isEmpty();
        };
    }

private:
    mutable QMutex m_mutex;
    QList<OpenCall> m_calls;
    int m_returned = 0;
    QSemaphore m_gate;
};

// One start of the recorder program.
struct Record {
    QString cwd;
    QStringList argv;
};

} // namespace

class TestLaunching : public QObject, protected BarFixture
{
    Q_OBJECT

private:
    // Lives for the whole run: the desktop's folders must not change once
    // GIO has read them.
    QTemporaryDir m_base;
    std::unique_ptr<TForm1> m_form;
    std::shared_ptr<FakeOpener> m_fake;

    QString records() const { return m_base.filePath(u"records"_s); }
    // The recorder, copied into a folder whose name has a blank.
    QString recorder() const { return m_base.filePath(u"my tools/recorder"_s); }

    TForm1 &form();
    void useFakeOpener();
    // A button whose entry line is exactly `line`, whatever it would take to
    // write such a line.
    LaunchButton *addLine(const QString &line);
    LaunchButton *addEntry(const QString &fname, const QString &param = {});
    QList<Record> recorded() const;
    QString writeDesktopEntry(const QString &folder, const QString &extraLines);

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void launchRequest_data();
    void launchRequest();
    void clickOpensEntry_data();
    void clickOpensEntry();
    void quickClicksOpenEach();
    void clickFindsItsOwnLine();
    void failureIsReported();
    void clickDoesNotWaitForOpening();
    void failureAfterBarClosedShowsNothing();

    void programGetsParameterWords_data();
    void programGetsParameterWords();
    void desktopEntryGetsFiles_data();
    void desktopEntryGetsFiles();
    void desktopEntryParameters_data();
    void desktopEntryParameters();
    void realFailureIsReported_data();
    void realFailureIsReported();
    void quickClicksLeaveNoZombie_data();
    void quickClicksLeaveNoZombie();
    void defaultApplicationOpens_data();
    void defaultApplicationOpens();
    void documentStartsInItsFolder();
    void pickedPathReachesProgramAsOneWord();
};

void TestLaunching::initTestCase()
{
    QVERIFY(m_base.isValid());
    // Nothing but our own programs can be started from here on.
    const auto [applications, config] = TestDesktop::isolate(QDir(m_base.path()));
    const QString data = QFileInfo(applications).path();
    qputenv("QB_RECORDER_OUT", QFile::encodeName(records()));
    QVERIFY(QDir().mkpath(records()));
    QVERIFY(QDir().mkpath(m_base.filePath(u"my tools"_s)));
    QVERIFY(QFile::copy(QStringLiteral(QB_RECORDER), recorder()));
    QVERIFY(QFile::setPermissions(recorder(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup
                                                  | QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther));

    QVERIFY(writeBytes(data + u"/applications/qb-recorder.desktop"_s,
                       "[Desktop Entry]\nType=Application\nName=Recorder\nExec=\"" + QFile::encodeName(recorder())
                           + "\" %F\n"
                             "MimeType=inode/directory;text/plain;\nTerminal=false\n"));
    QVERIFY(writeBytes(config + u"/mimeapps.list"_s, "[Default Applications]\ninode/directory=qb-recorder.desktop\n"
                                                     "text/plain=qb-recorder.desktop\n"));
}

void TestLaunching::init()
{
    QVERIFY(setUp());
    const QStringList old = QDir(records()).entryList(QDir::Files | QDir::Hidden);
    for (const QString &name : old)
        QFile::remove(QDir(records()).filePath(name));
}

void TestLaunching::cleanup()
{
    // Lets any call still held by a failed test go.
    if (m_fake)
        m_fake->open(1000);
    m_form.reset();
    m_fake.reset();
    tearDown();
}

TForm1 &TestLaunching::form()
{
    if (!m_form)
        m_form = std::make_unique<TForm1>(home());
    return *m_form;
}

void TestLaunching::useFakeOpener()
{
    m_fake = std::make_shared<FakeOpener>();
    form().setOpener(FakeOpener::function(m_fake));
}

LaunchButton *TestLaunching::addLine(const QString &line)
{
    TForm1 &bar = form();
    QStringList lines = bar.currentGroup().lines();
    lines.append(line);
    bar.LaunchPath.setLines(bar.MenuIndex(), lines);
    return BarProbe::LaunchBtn(bar).last();
}

LaunchButton *TestLaunching::addEntry(const QString &fname, const QString &param)
{
    TForm1 &bar = form();
    bar.LaunchPath.insert(bar.MenuIndex(), -1, {TRec{fname, param, u"Entry"_s}});
    return BarProbe::LaunchBtn(bar).last();
}

QList<Record> TestLaunching::recorded() const
{
    QList<Record> result;
    const QStringList names = QDir(records()).entryList(QDir::Files, QDir::Name);
    for (const QString &name : names) {
        QFile file(QDir(records()).filePath(name));
        if (!file.open(QIODevice::ReadOnly))
            continue;
        QList<QByteArray> parts = file.readAll().split('\0');
        parts.removeLast(); // after the last terminator
        Record record;
        record.cwd = QFile::decodeName(parts.takeFirst());
        for (const QByteArray &arg : std::as_const(parts))
            record.argv.append(QFile::decodeName(arg));
        result.append(record);
    }
    return result;
}

QString TestLaunching::writeDesktopEntry(const QString &folder, const QString &extraLines)
{
    QDir().mkpath(folder);
    const QString path = folder + u"/recorder.desktop"_s;
    const QString text = u"[Desktop Entry]\nType=Application\nName=Recorder\nExec=\"%1\" %F\n"_s.arg(recorder())
                         + extraLines;
    return writeBytes(path, text.toUtf8()) ? path : QString();
}

// --- What a click hands over ---

void TestLaunching::launchRequest_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<bool>("opens");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("params");
    QTest::addColumn<QString>("dir");

    QTest::newRow("program with parameters")
        << u"/tools/app,-v,App"_s << true << u"/tools/app"_s << u"-v"_s << u"/tools"_s;
    QTest::newRow("file in the root") << u"/app,,"_s << true << u"/app"_s << QString() << u"/"_s;
    QTest::newRow("bare name") << u"tool,,T"_s << true << u"tool"_s << QString() << QString();
    QTest::newRow("deep folder") << u"/a/b c/d/app,,"_s << true << u"/a/b c/d/app"_s << QString() << u"/a/b c/d"_s;
    QTest::newRow("colon is an ordinary character")
        << u"/srv/x:y/app,,"_s << true << u"/srv/x:y/app"_s << QString() << u"/srv/x:y"_s;
    QTest::newRow("blanks kept") << u"/tools/app, -v ,App"_s << true << u"/tools/app"_s << u" -v "_s << u"/tools"_s;
    QTest::newRow("quoted path parameter")
        << u"/tools/app,\"/my docs/a.txt\",App"_s << true << u"/tools/app"_s << u"/my docs/a.txt"_s << u"/tools"_s;
    QTest::newRow("doubled quotes") << u"/tools/app,\"say \"\"hi\"\"\",App"_s << true << u"/tools/app"_s
                                    << u"say \"hi\""_s << u"/tools"_s;
    QTest::newRow("quoted comma") << u"/tools/app,\"a,b\",App"_s << true << u"/tools/app"_s << u"a,b"_s << u"/tools"_s;
    QTest::newRow("path only") << u"/tools/app"_s << true << u"/tools/app"_s << QString() << u"/tools"_s;
    QTest::newRow("two fields open without parameters")
        << u"/tools/app,-v"_s << true << u"/tools/app"_s << QString() << u"/tools"_s;
    QTest::newRow("unclosed quote") << u"/tools/app,\"-v,App"_s << true << u"/tools/app"_s << QString() << u"/tools"_s;
    QTest::newRow("quoted path then switch")
        << u"/tools/app,\"/my docs/a.txt\" -x,App"_s << false << QString() << QString() << QString();
    QTest::newRow("comma in hint") << u"/tools/app,-v,A,B"_s << false << QString() << QString() << QString();
    QTest::newRow("empty line") << QString() << false << QString() << QString() << QString();
}

void TestLaunching::launchRequest()
{
    QFETCH(QString, line);
    QFETCH(bool, opens);
    QFETCH(QString, file);
    QFETCH(QString, params);
    QFETCH(QString, dir);

    const std::optional<LaunchRequest> request = launchRequestFor(line);
    QCOMPARE(request.has_value(), opens);
    if (!opens)
        return;
    QCOMPARE(request->file, file);
    QCOMPARE(request->params, params);
    QCOMPARE(workingDirectoryOf(request->file), dir);
}

void TestLaunching::clickOpensEntry_data()
{
    launchRequest_data();
}

void TestLaunching::clickOpensEntry()
{
    QFETCH(QString, line);
    QFETCH(bool, opens);
    QFETCH(QString, file);
    QFETCH(QString, params);
    QFETCH(QString, dir);

    useFakeOpener();
    addLine(line)->click();

    if (opens) {
        QTRY_COMPARE_WITH_TIMEOUT(m_fake->calls().size(), 1, kSettleMs);
        QCOMPARE(m_fake->calls().first(), (OpenCall{file, params, dir}));
    } else {
        // Nothing can be awaited: a later entry's launch marks the point by
        // which any launch of this one would have been asked for too.
        addLine(u"/later,,"_s)->click();
        QTRY_COMPARE_WITH_TIMEOUT(m_fake->returned(), 1, kSettleMs);
        QTest::qWait(100);
        QCOMPARE(m_fake->calls(), (QList<OpenCall>{{u"/later"_s, QString(), u"/"_s}}));
    }
    QCoreApplication::processEvents();
    QCOMPARE(m_shown, QStringList());
}

void TestLaunching::quickClicksOpenEach()
{
    useFakeOpener();
    LaunchButton *button = addLine(u"/tools/app,-v,App"_s);
    button->click();
    button->click();
    QTRY_COMPARE_WITH_TIMEOUT(m_fake->calls().size(), 2, kSettleMs);
    const OpenCall expected{u"/tools/app"_s, u"-v"_s, u"/tools"_s};
    QCOMPARE(m_fake->calls(), (QList<OpenCall>{expected, expected}));
}

void TestLaunching::clickFindsItsOwnLine()
{
    useFakeOpener();
    addLine(u"/a/first,,"_s);
    LaunchButton *second = addLine(u"/b/second,-s,"_s);
    addLine(u"/c/third,,"_s);
    second->click();
    QTRY_COMPARE_WITH_TIMEOUT(m_fake->calls().size(), 1, kSettleMs);
    QCOMPARE(m_fake->calls().first(), (OpenCall{u"/b/second"_s, u"-s"_s, u"/b"_s}));
}

void TestLaunching::failureIsReported()
{
    useFakeOpener();
    m_fake->reason = u"No application is registered"_s;
    addLine(u"/tools/report.pdf,,Report"_s)->click();

    QTRY_COMPARE_WITH_TIMEOUT(m_shown.size(), 1, kSettleMs);
    QCOMPARE(m_shown.first(), u"/tools/report.pdf を開けませんでした。No application is registered"_s);
    // Widgets may only be touched from the user-interface thread.
    QCOMPARE(m_shownOn.first(), QCoreApplication::instance()->thread());
}

void TestLaunching::clickDoesNotWaitForOpening()
{
    useFakeOpener();
    m_fake->gated = true;
    m_fake->reason = u"too slow"_s;
    LaunchButton *button = addLine(u"/tools/app,,"_s);
    button->click();
    button->click();
    // Both calls are under way while the bar goes on handling events.
    QTRY_COMPARE_WITH_TIMEOUT(m_fake->calls().size(), 2, kSettleMs);
    QCOMPARE(m_fake->returned(), 0);
    QVERIFY(m_shown.isEmpty());

    m_fake->open(2);
    QTRY_COMPARE_WITH_TIMEOUT(m_shown.size(), 2, kSettleMs);
    QCOMPARE(m_shown.first(), u"/tools/app を開けませんでした。too slow"_s);
}

void TestLaunching::failureAfterBarClosedShowsNothing()
{
    useFakeOpener();
    m_fake->gated = true;
    m_fake->reason = u"gone"_s;
    addLine(u"/tools/app,,"_s)->click();
    QTRY_COMPARE_WITH_TIMEOUT(m_fake->calls().size(), 1, kSettleMs);

    m_form.reset();
    m_fake->open(1);
    QTRY_COMPARE_WITH_TIMEOUT(m_fake->returned(), 1, kSettleMs);
    // The report is posted just after the call returns.
    QTest::qWait(200);
    QCOMPARE(m_shown, QStringList());
}

// --- Real programs ---

void TestLaunching::programGetsParameterWords_data()
{
    QTest::addColumn<QString>("params");
    QTest::addColumn<QStringList>("words");

    QTest::newRow("none") << QString() << QStringList();
    QTest::newRow("blanks only") << u"   "_s << QStringList();
    QTest::newRow("one switch") << u"-v"_s << QStringList{u"-v"_s};
    QTest::newRow("quoted words") << u"\"a b\"  'c d' e"_s << QStringList{u"a b"_s, u"c d"_s, u"e"_s};
    QTest::newRow("escaped quote") << u"\"say \\\"hi\\\"\" x"_s << QStringList{u"say \"hi\""_s, u"x"_s};
    QTest::newRow("quoted path") << u"\"/my docs/a.txt\""_s << QStringList{u"/my docs/a.txt"_s};
    QTest::newRow("commas") << u"a,b \"c,d\""_s << QStringList{u"a,b"_s, u"c,d"_s};
    QTest::newRow("nothing expanded") << u"$HOME * ~ $(id) ;"_s
                                      << QStringList{u"$HOME"_s, u"*"_s, u"~"_s, u"$(id)"_s, u";"_s};
    QTest::newRow("non-ASCII") << u"日本語 \"ä ö\""_s << QStringList{u"日本語"_s, u"ä ö"_s};
    // A quote without its partner is an ordinary character.
    QTest::newRow("one apostrophe") << u"it's here"_s << QStringList{u"it's"_s, u"here"_s};
    QTest::newRow("unclosed double quote") << u"say \"hi"_s << QStringList{u"say"_s, u"\"hi"_s};
    QTest::newRow("apostrophe in double quotes") << u"\"it's here\""_s << QStringList{u"it's here"_s};
    QTest::newRow("double quotes in single") << u"'say \"hi\"' x"_s << QStringList{u"say \"hi\""_s, u"x"_s};
}

void TestLaunching::programGetsParameterWords()
{
    QFETCH(QString, params);
    QFETCH(QStringList, words);

    addEntry(recorder(), params)->click();
    QTRY_COMPARE_WITH_TIMEOUT(recorded().size(), 1, kSettleMs);
    const Record record = recorded().first();
    QCOMPARE(record.argv, QStringList{recorder()} + words);
    QCOMPARE(record.cwd, m_base.filePath(u"my tools"_s));
    QCoreApplication::processEvents();
    QCOMPARE(m_shown, QStringList());
}

void TestLaunching::desktopEntryGetsFiles_data()
{
    QTest::addColumn<bool>("ownPath");
    QTest::addColumn<QString>("params");
    QTest::addColumn<QStringList>("files");

    QTest::newRow("starts in the entry's folder")
        << false << u"\"/my docs/a.txt\" /b.txt"_s << QStringList{u"/my docs/a.txt"_s, u"/b.txt"_s};
    QTest::newRow("starts in its own Path") << true << u"/b.txt"_s << QStringList{u"/b.txt"_s};
    QTest::newRow("no parameters") << false << QString() << QStringList();
}

void TestLaunching::desktopEntryGetsFiles()
{
    QFETCH(bool, ownPath);
    QFETCH(QString, params);
    QFETCH(QStringList, files);

    const QString folder = home() + u"app entries"_s;
    const QString elsewhere = home() + u"own path"_s;
    QVERIFY(QDir().mkpath(elsewhere));
    const QString entry = writeDesktopEntry(folder, ownPath ? u"Path=%1\n"_s.arg(elsewhere) : QString());
    QVERIFY(!entry.isEmpty());

    addEntry(entry, params)->click();
    QTRY_COMPARE_WITH_TIMEOUT(recorded().size(), 1, kSettleMs);
    const Record record = recorded().first();
    QCOMPARE(record.argv.mid(1), files);
    QCOMPARE(record.cwd, ownPath ? elsewhere : folder);
    QCoreApplication::processEvents();
    QCOMPARE(m_shown, QStringList());
}

void TestLaunching::desktopEntryParameters_data()
{
    QTest::addColumn<QString>("fieldCode");
    QTest::addColumn<QString>("params");
    QTest::addColumn<QStringList>("args"); // {dir} stands for the entry's folder, {uri} for its URI

    const QString mixed = u"-v \"a b.txt\" https://example.org/x?q=1 100%"_s;
    const QStringList asPaths{u"-v"_s, u"{dir}/a b.txt"_s, u"https://example.org/x?q=1"_s, u"100%"_s};
    const QStringList asUris{u"-v"_s, u"{uri}/a%20b.txt"_s, u"https://example.org/x?q=1"_s, u"100%"_s};
    QTest::newRow("%F, options and files") << u"%F"_s << mixed << asPaths;
    QTest::newRow("%f, options and files") << u"%f"_s << mixed << asPaths;
    QTest::newRow("%U, options and files") << u"%U"_s << mixed << asUris;
    QTest::newRow("no field code: appended") << QString() << mixed << asPaths;
    QTest::newRow("%F, files only") << u"%F"_s << u"\"a b.txt\" sub"_s
                                    << QStringList{u"{dir}/a b.txt"_s, u"{dir}/sub"_s};
    QTest::newRow("%F, text with quotes") << u"%F"_s << u"'say \"$HOME\" `x`'"_s << QStringList{u"say \"$HOME\" `x`"_s};
    QTest::newRow("%F, nothing") << u"%F"_s << QString() << QStringList();
}

void TestLaunching::desktopEntryParameters()
{
    QFETCH(QString, fieldCode);
    QFETCH(QString, params);
    QFETCH(QStringList, args);

    const QString folder = home() + u"entries"_s;
    QVERIFY(QDir().mkpath(folder + u"/sub"_s));
    QVERIFY(writeBytes(folder + u"/a b.txt"_s, "x"));
    const QString entry = folder + u"/app.desktop"_s;
    QVERIFY(writeBytes(
        entry, u"[Desktop Entry]\nType=Application\nName=App\nExec=\"%1\" %2\n"_s.arg(recorder(), fieldCode).toUtf8()));

    addEntry(entry, params)->click();
    QTRY_COMPARE_WITH_TIMEOUT(recorded().size(), 1, kSettleMs);
    const Record record = recorded().first();
    const QString uri = QUrl::fromLocalFile(folder).toString(QUrl::FullyEncoded);
    QStringList expected;
    for (const QString &arg : std::as_const(args))
        expected.append(QString(arg).replace(u"{dir}"_s, folder).replace(u"{uri}"_s, uri));
    QCOMPARE(record.argv.mid(1), expected);
    QCOMPARE(record.cwd, folder);
    QCoreApplication::processEvents();
    QCOMPARE(m_shown, QStringList());
}

void TestLaunching::realFailureIsReported_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("content"); // none: no such file
    QTest::addColumn<bool>("executable");
    QTest::addColumn<QString>("params");

    QTest::newRow("no such file") << u"missing"_s << QByteArray() << false << QString();
    QTest::newRow("program cannot start") << u"tool"_s << QByteArray("#!/no/such/interpreter\n") << true << QString();
    QTest::newRow("no application for the type")
        << u"blob.qbunknown"_s << QByteArray("\x00\x01\x02\xff\xfe", 5) << false << QString();
    QTest::newRow("broken desktop entry") << u"broken.desktop"_s << QByteArray("not an entry\n") << false << QString();
}

void TestLaunching::realFailureIsReported()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, content);
    QFETCH(bool, executable);
    QFETCH(QString, params);

    const QString path = home() + name;
    if (!content.isNull()) {
        QVERIFY(writeBytes(path, content));
        if (executable)
            QVERIFY(QFile::setPermissions(path, QFile::permissions(path) | QFile::ExeOwner));
    }
    addEntry(path, params)->click();

    QTRY_COMPARE_WITH_TIMEOUT(m_shown.size(), 1, kSettleMs);
    const QString prefix = path + u" を開けませんでした。"_s;
    QVERIFY2(m_shown.first().startsWith(prefix), qPrintable(m_shown.first()));
    QVERIFY2(m_shown.first().size() > prefix.size(), "the reason is missing");
    QCOMPARE(m_shownOn.first(), QCoreApplication::instance()->thread());
}

void TestLaunching::quickClicksLeaveNoZombie_data()
{
    QTest::addColumn<bool>("desktopEntry");
    QTest::newRow("program") << false;
    QTest::newRow("desktop entry") << true;
}

void TestLaunching::quickClicksLeaveNoZombie()
{
    QFETCH(bool, desktopEntry);

    const QString file = desktopEntry ? writeDesktopEntry(home() + u"entries"_s, {}) : recorder();
    QVERIFY(!file.isEmpty());
    LaunchButton *button = addEntry(file, u"x"_s);
    constexpr int kClicks = 20;
    for (int i = 0; i < kClicks; ++i)
        button->click();

    QTRY_COMPARE_WITH_TIMEOUT(recorded().size(), kClicks, 60000);
    QTRY_COMPARE_WITH_TIMEOUT(zombieChildren(), QStringList(), kSettleMs);
    QCOMPARE(m_shown, QStringList());
}

void TestLaunching::defaultApplicationOpens_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("folder");
    QTest::newRow("folder") << u"a folder"_s << true;
    QTest::newRow("text document") << u"docs/note one.txt"_s << false;
}

void TestLaunching::defaultApplicationOpens()
{
    QFETCH(QString, name);
    QFETCH(bool, folder);

    const char *type = folder ? "inode/directory" : "text/plain";
    GAppInfo *app = g_app_info_get_default_for_type(type, FALSE);
    const QString chosen = app ? QString::fromUtf8(g_app_info_get_id(app)) : QString();
    if (app)
        g_object_unref(app);
    if (chosen != u"qb-recorder.desktop"_s)
        QSKIP(qPrintable(
            u"GIO does not take the test's default application for %1 (it chose \"%2\")"_s.arg(QLatin1String(type),
                                                                                               chosen)));

    const QString path = home() + name;
    if (folder) {
        QVERIFY(QDir().mkpath(path));
    } else {
        QVERIFY(QDir().mkpath(QFileInfo(path).path()));
        QVERIFY(writeBytes(path, "plain text\n"));
    }
    addEntry(path)->click();
    QTRY_COMPARE_WITH_TIMEOUT(recorded().size(), 1, kSettleMs);
    QCOMPARE(recorded().first().argv.mid(1), QStringList{path});
    QCoreApplication::processEvents();
    QCOMPARE(m_shown, QStringList());
}

void TestLaunching::documentStartsInItsFolder()
{
    GAppInfo *app = g_app_info_get_default_for_type("text/plain", FALSE);
    const bool ours = app && QString::fromUtf8(g_app_info_get_id(app)) == u"qb-recorder.desktop"_s;
    if (app)
        g_object_unref(app);
    if (!ours)
        QSKIP("GIO does not take the test's default application for text/plain");

    const QString folder = home() + u"docs"_s;
    QVERIFY(QDir().mkpath(folder));
    QVERIFY(writeBytes(folder + u"/note.txt"_s, "plain text\n"));
    addEntry(folder + u"/note.txt"_s)->click();
    QTRY_COMPARE_WITH_TIMEOUT(recorded().size(), 1, kSettleMs);
    // The application opening a document starts where the document is, as a
    // program does.
    QCOMPARE(recorded().first().cwd, folder);
}

void TestLaunching::pickedPathReachesProgramAsOneWord()
{
    // A file picked in the parameter editor, with blanks and a quote in its
    // name, reaches the program as one argument after "変更".
    const QString picked = m_base.filePath(u"my tools/it's a file.txt"_s);
    QVERIFY(writeBytes(picked, "x"));
    addEntry(recorder());
    TForm3 editor(&form());
    editor.OpenDialog1 = [picked](QWidget *, const QString &) { return picked; };
    editor.editEntry(0);
    editor.FileName->setText(recorder());
    editor.ParamEdit->setText(QString());
    editor.HintEdit->setText(u"Rec"_s);
    editor.Button3Click();
    editor.Button1Click();
    BarProbe::LaunchBtn(form()).first()->click();
    QTRY_COMPARE_WITH_TIMEOUT(recorded().size(), 1, kSettleMs);
    QCOMPARE(recorded().first().argv, (QStringList{recorder(), picked}));
}

QTEST_MAIN(TestLaunching)
#include "tst_launching.moc"
