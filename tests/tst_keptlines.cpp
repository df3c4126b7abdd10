// SPDX-License-Identifier: MIT
// Nothing of a group file is lost to a save: entries whose file is not
// there keep their line and a greyed button, lines the bar cannot read
// are written back as they came, and a group that cannot be read says so.
#include "app/Unit1.h"
#include "core/files/LocaleCodec.h"
#include "BarFixture.h"
#include "BarProbe.h"

#include <QAction>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;
using TestFiles::readBytes;
using TestFiles::writeBytes;

class TestKeptLines : public QObject, private BarFixture
{
    Q_OBJECT

private:
    QString groupFile() const { return file(u"QuillbrookPath.txt"_s); }
    // Ctrl+N twice: registration mode on, then off, which saves the group.
    static void registerNothing(TForm1 &form)
    {
        form.AddMenuClick();
        form.AddMenuClick();
    }

private Q_SLOTS:
    void init() { QVERIFY(setUp()); }
    void cleanup() { tearDown(); }

    void missingFileKeepsItsLine_data();
    void missingFileKeepsItsLine();
    void missingButtonSaysSo_data();
    void missingButtonSaysSo();
    void menuStillActsOnMissingEntry();
    void unreadableLineSurvivesByteForByte_data();
    void unreadableLineSurvivesByteForByte();
};

void TestKeptLines::missingFileKeepsItsLine_data()
{
    QTest::addColumn<QString>("missing");
    QTest::addColumn<bool>("link");

    QTest::newRow("drive not mounted") << u"media/usb/Tool.AppImage"_s << false;
    QTest::newRow("program away for an upgrade") << u"bin/tool"_s << false;
    QTest::newRow("link whose target is away") << u"link-to-tool"_s << true;
}

void TestKeptLines::missingFileKeepsItsLine()
{
    QFETCH(QString, missing);
    QFETCH(bool, link);

    QVERIFY(writeBytes(file(u"true"_s), "#!/bin/sh\n"));
    QVERIFY(QDir(home()).mkpath(u"bin"_s));
    const QString target = file(u"tool-target"_s);
    if (link)
        QVERIFY(QFile::link(target, file(missing)));
    const QByteArray bytes = (file(u"true"_s) + u",,exists\r\n"_s + file(missing) + u",,on the drive\r\n"_s).toUtf8();
    QVERIFY(writeBytes(groupFile(), bytes));

    TForm1 form(home());
    form.show();
    QCOMPARE(BarProbe::LaunchBtn(form).size(), 2);
    QVERIFY(!BarProbe::LaunchBtn(form)[0]->isFileMissing());
    QVERIFY(BarProbe::LaunchBtn(form)[1]->isFileMissing());

    // Two saves, and the line of the missing file is still there.
    registerNothing(form);
    registerNothing(form);
    QVERIFY2(m_shown.isEmpty(), qPrintable(m_shown.join(u'\n')));
    QCOMPARE(readBytes(groupFile()), bytes);

    // Its file back (the drive mounted), the next load shows it alive.
    const QString appeared = link ? target : file(missing);
    QVERIFY(QDir().mkpath(QFileInfo(appeared).path()));
    QVERIFY(writeBytes(appeared, "#!/bin/sh\n"));
    form.MenuClick(1);
    form.MenuClick(0);
    QCOMPARE(BarProbe::LaunchBtn(form).size(), 2);
    QVERIFY(!BarProbe::LaunchBtn(form)[1]->isFileMissing());
    QVERIFY(!BarProbe::LaunchBtn(form)[1]->iconPixmap().isNull());
}

void TestKeptLines::missingButtonSaysSo_data()
{
    QTest::addColumn<bool>("hints");
    QTest::addColumn<QString>("tooltip");

    // "@" stands for the missing file's path.
    QTest::newRow("hints on") << true << u"ファイルが見つかりません: @\nTool -> x"_s;
    QTest::newRow("hints off") << false << u"ファイルが見つかりません: @"_s;
}

void TestKeptLines::missingButtonSaysSo()
{
    QFETCH(bool, hints);
    QFETCH(QString, tooltip);

    const QString missing = file(u"media/usb/Tool.AppImage"_s);
    writeIni(hints ? "[Hint]\nShow=1\n" : "[Hint]\nShow=0\n");
    QVERIFY(writeBytes(groupFile(), (missing + u",x,Tool\r\n"_s).toUtf8()));

    TForm1 form(home());
    int opened = 0;
    form.setOpener([&](const QString &, const QString &, const QString &, QString *) { return ++opened > 0; });
    form.show();
    QCOMPARE(BarProbe::LaunchBtn(form).size(), 1);
    LaunchButton *button = BarProbe::LaunchBtn(form)[0];
    QVERIFY(button->isFileMissing());
    // Greyed, not disabled: it still takes clicks and its menu.
    QVERIFY(button->isEnabled());
    QCOMPARE(button->toolTip(), QString(tooltip).replace(u'@', missing));
    // Its type's icon, found from the name alone.
    QVERIFY(!button->iconPixmap().isNull());

    BarProbe::BtnClickEvent(form, button);
    QVERIFY(form.waitForLaunches());
    QCoreApplication::processEvents();
    QCOMPARE(opened, 0);
    QCOMPARE(m_shown.size(), 1);
    QVERIFY2(m_shown[0].startsWith(missing + u" が見つかりません。"_s), qPrintable(m_shown[0]));

    // The drive is mounted again: the next click finds the file and opens it.
    QVERIFY(QDir().mkpath(file(u"media/usb"_s)));
    QVERIFY(writeBytes(missing, "tool"));
    BarProbe::BtnClickEvent(form, button);
    QVERIFY(form.waitForLaunches());
    QCoreApplication::processEvents();
    QCOMPARE(opened, 1);
    QCOMPARE(m_shown.size(), 1);
    QVERIFY(!button->isFileMissing());
    QVERIFY(!button->toolTip().contains(u"ファイルが見つかりません"_s));
}

void TestKeptLines::menuStillActsOnMissingEntry()
{
    const QString missing = file(u"media/usb/Tool.AppImage"_s);
    QVERIFY(writeBytes(file(u"a.txt"_s), "x"));
    const QByteArray aLine = (file(u"a.txt"_s) + u",,A\r\n"_s).toUtf8();
    QVERIFY(writeBytes(groupFile(), (missing + u",,Tool\r\n"_s).toUtf8() + aLine));

    TForm1 form(home());
    QDialog editor;
    form.setDialogs(nullptr, &editor);
    form.show();
    QCOMPARE(BarProbe::LaunchBtn(form).size(), 2);

    // The parameter editor opens on it (and is closed at once here).
    connect(&form, &TForm1::entryEditRequested, &editor, &QDialog::reject, Qt::QueuedConnection);
    QSignalSpy edits(&form, &TForm1::entryEditRequested);
    BarProbe::ButtonMouseEnter(form, BarProbe::LaunchBtn(form)[0]);
    BarProbe::EditCmdClick(form);
    QCOMPARE(edits.size(), 1);
    QCOMPARE(edits.first().first().toInt(), 0);

    BarProbe::ButtonMouseEnter(form, BarProbe::LaunchBtn(form)[0]);
    BarProbe::DelBtn(BarProbe::menus(form))->trigger();
    QVERIFY(m_shown.isEmpty());
    QCOMPARE(BarProbe::LaunchBtn(form).size(), 1);
    QCOMPARE(readBytes(groupFile()), aLine);
}

void TestKeptLines::unreadableLineSurvivesByteForByte_data()
{
    // "|" stands for the test's folder ("@" is half of a CP932 character).
    QTest::addColumn<QByteArray>("charset");
    QTest::addColumn<QByteArray>("kept");

    QTest::newRow("four fields") << QByteArray("UTF-8") << QByteArray("|/a.txt,-x,A,extra");
    QTest::newRow("five quoted fields") << QByteArray("UTF-8") << QByteArray("\"|/a.txt\",\"-x, -y\",A,,\"\"");
    QTest::newRow("no file") << QByteArray("UTF-8") << QByteArray(",-x,orphan");
    // Control characters in a name: no button unless the file is there.
    QTest::newRow("control characters") << QByteArray("UTF-8") << QByteArray("|/\x01\x02\x7f junk");
    // 0xED40 reads as a character whose code, written, is 0xFA5C.
    QTest::newRow("a character of two codes") << QByteArray("CP932") << QByteArray("|/\xED\x40.txt,a,b,c");
}

void TestKeptLines::unreadableLineSurvivesByteForByte()
{
    QFETCH(QByteArray, charset);
    QFETCH(QByteArray, kept);

    LocaleCodec::setCharsetForTesting(charset);
    const auto restore = qScopeGuard([] { LocaleCodec::setCharsetForTesting({}); });
    const QByteArray folder = QFile::encodeName(m_dir->path());
    kept.replace('|', folder);
    QVERIFY(writeBytes(file(u"a.txt"_s), "x"));
    QVERIFY(writeBytes(file(u"b.txt"_s), "x"));
    const QByteArray first = folder + "/a.txt,,A\r\n";
    QVERIFY(writeBytes(groupFile(), first + kept + "\r\n"));

    TForm1 form(home());
    form.show();
    // The line has no button.
    QCOMPARE(BarProbe::LaunchBtn(form).size(), 1);

    // A drop saves the group; the kept line keeps its place and its bytes.
    form.DropTarget1Dropped({file(u"b.txt"_s)});
    QVERIFY2(m_shown.isEmpty(), qPrintable(m_shown.join(u'\n')));
    QCOMPARE(BarProbe::LaunchBtn(form).size(), 2);
    QCOMPARE(readBytes(groupFile()), first + kept + "\r\n" + folder + "/b.txt,,b\r\n");
}

QTEST_MAIN(TestKeptLines)
#include "tst_keptlines.moc"
