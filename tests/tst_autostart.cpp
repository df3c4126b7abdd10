// SPDX-License-Identifier: MIT
// "ログイン時に起動": the autostart entry is written and removed, its check mark
// follows the file, and GIO, which starts autostart entries on a real
// desktop, reads its Exec as this very program and runs it.
#include "core/session/Autostart.h"
#include "app/Unit1.h"
#include "BarFixture.h"
#include "TestFiles.h"
#include "BarProbe.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QTest>

#include <gio/gdesktopappinfo.h>
#include <gio/gio.h>

using namespace Qt::StringLiterals;

namespace {

// The program GIO would run for a desktop entry's Exec: the key read as a
// desktop entry string, field codes expanded, then split as a shell would.
QString programAsGioReadsIt(const QString &entryFile)
{
    GKeyFile *keys = g_key_file_new();
    QString program;
    if (g_key_file_load_from_file(keys, QFile::encodeName(entryFile).constData(), G_KEY_FILE_NONE, nullptr)) {
        gchar *exec = g_key_file_get_string(keys, "Desktop Entry", "Exec", nullptr);
        const QString expanded = QString::fromUtf8(exec).replace(u"%%"_s, u"%"_s);
        g_free(exec);
        gchar **argv = nullptr;
        if (g_shell_parse_argv(expanded.toUtf8().constData(), nullptr, &argv, nullptr) && argv[0])
            program = QString::fromUtf8(argv[0]);
        g_strfreev(argv);
    }
    g_key_file_free(keys);
    return program;
}

// A program that writes the path it was started by into `marker`.
bool writeProgram(const QString &path, const QString &marker)
{
    const QByteArray script = "#!/bin/sh\nprintf '%s' \"$0\" > '" + QFile::encodeName(marker) + "'\n";
    return TestFiles::writeBytes(path, script)
           && QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

} // namespace

class TestAutostart : public QObject, public BarFixture
{
    Q_OBJECT

private:
    QString config() const { return file(u"config"_s); }

private Q_SLOTS:
    void init() { QVERIFY(setUp()); }
    void cleanup() { tearDown(); }

    void execRunsThisProgram_data();
    void execRunsThisProgram();
    void recognisesEntries_data();
    void recognisesEntries();
    void menuItemWritesAndRemoves();
    void failedWriteIsReported();
};

void TestAutostart::execRunsThisProgram_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("plain") << u"Quillbrook"_s;
    QTest::newRow("space") << u"my launcher"_s;
    QTest::newRow("quotes") << u"it's \"the\" bar"_s;
    QTest::newRow("shell characters") << u"a$b`c;d&e|f(g)h<i>j*k?l#m~"_s;
    QTest::newRow("backslash") << u"back\\slash \\\\ twice"_s;
    QTest::newRow("percent") << u"100% %f %%"_s;
    QTest::newRow("tab and newline") << u"tab\there\nline"_s;
    QTest::newRow("Japanese") << u"ランチャー 起動"_s;
}

void TestAutostart::execRunsThisProgram()
{
    QFETCH(QString, name);
    const QString folder = file(u"bin dir"_s);
    QVERIFY(QDir().mkpath(folder));
    const QString program = folder + u'/' + name;
    const QString marker = file(u"ran"_s);
    QVERIFY(writeProgram(program, marker));

    QString error;
    QVERIFY2(Autostart::enable(config(), program, &error), qPrintable(error));
    const QString entry = config() + u"/autostart/org.quillbrook.Quillbrook.desktop"_s;
    QCOMPARE(Autostart::entryPath(config()), entry);
    QCOMPARE(programAsGioReadsIt(entry), program);
    QVERIFY(Autostart::isEnabled(config(), program));
    QVERIFY(!Autostart::isEnabled(config(), program + u'x'));

    // GIO refuses an entry whose program it cannot find; a "%" in the name
    // stays doubled in that search, so such an entry is checked above only.
    if (name.contains(u'%'))
        return;
    const QByteArray entryName = QFile::encodeName(entry);
    GDesktopAppInfo *info = g_desktop_app_info_new_from_filename(entryName.constData());
    QVERIFY(info);
    GError *launchError = nullptr;
    const bool launched = g_app_info_launch(G_APP_INFO(info), nullptr, nullptr, &launchError);
    g_object_unref(info);
    QVERIFY2(launched, launchError ? launchError->message : "");
    QTRY_VERIFY(QFileInfo(marker).size() > 0);
    QCOMPARE(QString::fromUtf8(TestFiles::readBytes(marker)), program);
}

void TestAutostart::recognisesEntries_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("enabled");
    const QByteArray head = "[Desktop Entry]\nType=Application\nName=Quillbrook\n";
    QTest::newRow("ours") << head + "Exec=PROGRAM\n" << true;
    QTest::newRow("quoted otherwise") << head + "Exec='PROGRAM' --flag\n" << true;
    QTest::newRow("another program") << head + "Exec=/usr/bin/Quillbrook\n" << false;
    QTest::newRow("hidden") << head + "Exec=PROGRAM\nHidden=true\n" << false;
    QTest::newRow("switched off") << head + "Exec=PROGRAM\nX-GNOME-Autostart-enabled=false\n" << false;
    QTest::newRow("Exec of another group") << head + "[Desktop Action x]\nExec=PROGRAM\n" << false;
    QTest::newRow("unclosed quote") << head + "Exec=\"PROGRAM\n" << false;
    QTest::newRow("no Exec") << head << false;
    QTest::newRow("empty file") << QByteArray() << false;
}

void TestAutostart::recognisesEntries()
{
    QFETCH(QByteArray, content);
    QFETCH(bool, enabled);
    const QString program = file(u"Quillbrook"_s);
    QVERIFY(QDir().mkpath(config() + u"/autostart"_s));
    QVERIFY(
        TestFiles::writeBytes(Autostart::entryPath(config()), content.replace("PROGRAM", QFile::encodeName(program))));
    QCOMPARE(Autostart::isEnabled(config(), program), enabled);
}

void TestAutostart::menuItemWritesAndRemoves()
{
    const QString program = file(u"Quillbrook"_s);
    const QString entry = Autostart::entryPath(config());
    TForm1 form(home());
    form.setAutostartTarget(config(), program);
    QCOMPARE(BarProbe::StartAtLogin(BarProbe::menus(form))->text(), u"ログイン時に起動"_s);
    // Right after "サイズ変更".
    const QList<QAction *> items = BarProbe::PopupMenu2(BarProbe::menus(form))->actions();
    QCOMPARE(items.indexOf(BarProbe::StartAtLogin(BarProbe::menus(form))),
             items.indexOf(BarProbe::ReSize2(BarProbe::menus(form))) + 1);
    QVERIFY(BarProbe::StartAtLogin(BarProbe::menus(form))->isCheckable());

    // An entry of another copy of the launcher shows unchecked and is
    // replaced by ours.
    QVERIFY(QDir().mkpath(config() + u"/autostart"_s));
    QVERIFY(TestFiles::writeBytes(entry, "[Desktop Entry]\nType=Application\nExec=/elsewhere/Quillbrook\n"));
    Q_EMIT BarProbe::PopupMenu2(BarProbe::menus(form))->aboutToShow();
    QVERIFY(!BarProbe::StartAtLogin(BarProbe::menus(form))->isChecked());

    BarProbe::StartAtLogin(BarProbe::menus(form))->trigger();
    QVERIFY(BarProbe::StartAtLogin(BarProbe::menus(form))->isChecked());
    QCOMPARE(programAsGioReadsIt(entry), program);

    BarProbe::StartAtLogin(BarProbe::menus(form))->trigger();
    QVERIFY(!BarProbe::StartAtLogin(BarProbe::menus(form))->isChecked());
    QVERIFY(!QFileInfo::exists(entry));

    // Made or removed outside, the entry shows when the menu next opens.
    QVERIFY(Autostart::enable(config(), program, nullptr));
    Q_EMIT BarProbe::PopupMenu2(BarProbe::menus(form))->aboutToShow();
    QVERIFY(BarProbe::StartAtLogin(BarProbe::menus(form))->isChecked());
    QVERIFY(m_shown.isEmpty());
}

void TestAutostart::failedWriteIsReported()
{
    // A file where the autostart folder belongs: nothing can be written
    // there, and the file stays as it was.
    QVERIFY(QDir().mkpath(config()));
    QVERIFY(TestFiles::writeBytes(config() + u"/autostart"_s, "mine"));
    TForm1 form(home());
    form.setAutostartTarget(config(), file(u"Quillbrook"_s));
    BarProbe::StartAtLogin(BarProbe::menus(form))->trigger();
    QVERIFY(!BarProbe::StartAtLogin(BarProbe::menus(form))->isChecked());
    QCOMPARE(m_shown.size(), 1);
    // The entry was never there: it could not be made.
    QVERIFY2(m_shown[0].startsWith(Autostart::entryPath(config()) + u" を作成できません。"_s), qPrintable(m_shown[0]));
    QCOMPARE(TestFiles::readBytes(config() + u"/autostart"_s), QByteArray("mine"));
}

QTEST_MAIN(TestAutostart)
#include "tst_autostart.moc"
