// SPDX-License-Identifier: MIT
#include "app/ErrorReport.h"
#include "app/Plate.h"
#include "app/Unit1.h"
#include "launcher/IconLayer.h"
#include "launcher/LaunchButton.h"
#include "settings/IniFile.h"
#include "settings/SettingsKeys.h"
#include "BarFixture.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {

using TestFiles::writeBytes;
using TestFiles::readBytes;

QStringList entriesOf(const QString &dir)
{
    return QDir(dir).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name);
}

} // namespace

Q_DECLARE_METATYPE(ErrorReport::CloseChoice)

class TestMainWindow : public QObject, protected BarFixture
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void startsWithDefaultsAndNoFiles();
    void closeWritesSettingsButNoGroupFile();
    void minimumSize_data();
    void minimumSize();
    void currentGroupFromSettings_data();
    void currentGroupFromSettings();
    void positionOffEveryScreen_data();
    void positionOffEveryScreen();
    void closeWhenSettingsCannotBeWritten_data();
    void closeWhenSettingsCannotBeWritten();
    void stayAfterFailedCloseThenCloseAgain();
    void setBackColor_data();
    void setBackColor();
    void showPaintsBackgroundFromSettings();
};

void TestMainWindow::init()
{
    QVERIFY(setUp());
}

void TestMainWindow::cleanup()
{
    tearDown();
}

void TestMainWindow::startsWithDefaultsAndNoFiles()
{
    TForm1 form(home());
    form.show();

    QCOMPARE(form.geometry(), QRect(670, 0, 500, 100));
    QCOMPARE(form.MenuIndex, 0);
    QVERIFY(form.Menu0->isChecked());
    QVERIFY(!form.isShowTaskBar);
    QVERIFY(!form.isTop);
    QVERIFY(!form.isStealth);
    QVERIFY(!form.Timer1->isActive());
    QCOMPARE(form.bw, 48);
    QCOMPARE(form.pad, 14);
    QCOMPARE(form.GlowNo, 4);
    QVERIFY(form.FShowhint);
    QCOMPARE(form.FlowLayout1->horizontalGap(), 2);
    QCOMPARE(form.FlowLayout1->verticalGap(), 2);
    QCOMPARE(float(form.Rectangle1->opacity()), 0.8f);

    // The empty group switches registration mode on.
    QVERIFY(form.LaunchBtn.isEmpty());
    QVERIFY(form.isRegistrationAreaShown());
    QVERIFY(form.AddMenu->isChecked());
    QVERIFY(form.AddMenu2->isChecked());
    QVERIFY(!form.MenuItem6->isEnabled());

    for (int n = 0; n < kGroupCount; ++n)
        QCOMPARE(form.groupName(n), u"メニュー%1"_s.arg(n + 1));

    // Reading neither creates the settings file nor a group list file.
    QCOMPARE(entriesOf(home()), QStringList{});
}

void TestMainWindow::closeWhenSettingsCannotBeWritten_data()
{
    QTest::addColumn<bool>("missingFolder");
    QTest::addColumn<ErrorReport::CloseChoice>("answer");
    QTest::addColumn<int>("timesAsked");
    QTest::addColumn<bool>("closes");

    // The first Retry meets the obstacle again; it is gone before the second.
    QTest::newRow("retry until it works") << false << ErrorReport::CloseChoice::Retry << 2 << true;
    QTest::newRow("quit without saving") << false << ErrorReport::CloseChoice::QuitWithoutSaving << 1 << true;
    QTest::newRow("home folder gone, quit") << true << ErrorReport::CloseChoice::QuitWithoutSaving << 1 << true;
}

void TestMainWindow::closeWhenSettingsCannotBeWritten()
{
    QFETCH(bool, missingFolder);
    QFETCH(ErrorReport::CloseChoice, answer);
    QFETCH(int, timesAsked);
    QFETCH(bool, closes);

    // Running as root ignores permissions: a folder where the file should be
    // (or no folder at all) makes the write fail for everyone.
    const QString homePath = missingFolder ? home() + u"no-such-folder/"_s : home();
    const QString ini = homePath + u"Quillbrook.ini"_s;
    if (!missingFolder)
        QVERIFY(QDir(home()).mkdir(u"Quillbrook.ini"_s));

    m_closeAnswer = [&] {
        if (answer == ErrorReport::CloseChoice::Retry && m_asked.size() == 2)
            QDir(home()).rmdir(u"Quillbrook.ini"_s);
        return answer;
    };

    TForm1 form(homePath);
    QSignalSpy closed(&form, &TForm1::closed);
    form.show();
    QCOMPARE(form.close(), closes);

    QCOMPARE(m_asked.size(), timesAsked);
    // The system's reason follows, so the user can tell the failures apart.
    QVERIFY2(m_asked.first().startsWith(ini + u" に書き込めません。"_s), qPrintable(m_asked.first()));
    QVERIFY(m_asked.first().size() > ini.size() + 10);
    QVERIFY(m_shown.isEmpty());
    QCOMPARE(form.isVisible(), !closes);
    QCOMPARE(closed.size(), closes ? 1 : 0);
    if (answer == ErrorReport::CloseChoice::Retry)
        QVERIFY(QFileInfo(ini).isFile());
}

void TestMainWindow::stayAfterFailedCloseThenCloseAgain()
{
    QVERIFY(QDir(home()).mkdir(u"Quillbrook.ini"_s));
    QVERIFY(writeBytes(file(u"notes.txt"_s), "text\n"));
    QVERIFY(writeBytes(file(u"QuillbrookPath.txt"_s), file(u"notes.txt"_s).toUtf8() + ",,Notes\r\n"));

    TForm1 form(home());
    form.show();
    QCOMPARE(form.LaunchBtn.size(), 1);
    QVERIFY(!form.close());

    // Still usable: the group and its lines are all there.
    QVERIFY(form.isVisible());
    QCOMPARE(form.LaunchBtn.size(), 1);
    QCOMPARE(form.LaunchPath[0], QStringList{file(u"notes.txt"_s) + u",,Notes"_s});

    QVERIFY(QDir(home()).rmdir(u"Quillbrook.ini"_s));
    QVERIFY(form.close());
    QCOMPARE(m_asked.size(), 1);
    QVERIFY(QFileInfo(file(u"Quillbrook.ini"_s)).isFile());
}

void TestMainWindow::closeWritesSettingsButNoGroupFile()
{
    // The group file holds lines a save would drop or rewrite: a missing
    // file, a bare path and LF breaks.
    QVERIFY(writeBytes(file(u"notes.txt"_s), "text\n"));
    const QByteArray group = file(u"notes.txt"_s).toUtf8() + "\n" + file(u"gone.txt"_s).toUtf8() + ",,Gone\n";
    QVERIFY(writeBytes(file(u"QuillbrookPath.txt"_s), group));
    const QByteArray otherGroup = "/nowhere/x.txt,,X\r\n";
    QVERIFY(writeBytes(file(u"QuillbrookPath2.txt"_s), otherGroup));

    {
        TForm1 form(home());
        QSignalSpy closed(&form, &TForm1::closed);
        form.show();
        QCOMPARE(form.LaunchBtn.size(), 1);
        QVERIFY(form.close());
        QCOMPARE(closed.size(), 1);
    }

    QCOMPARE(readBytes(file(u"QuillbrookPath.txt"_s)), group);
    QCOMPARE(readBytes(file(u"QuillbrookPath2.txt"_s)), otherGroup);
    QCOMPARE(entriesOf(home()), (QStringList{u"Quillbrook.ini"_s, u"QuillbrookPath.txt"_s,
                                             u"QuillbrookPath2.txt"_s, u"notes.txt"_s}));

    // Every key, each holding its default; the opacity is single precision.
    const IniFile ini = IniFile::load(file(u"Quillbrook.ini"_s));
    for (const SettingSpec &setting : kSettings) {
        const std::optional<QString> value = ini.value(QString::fromUtf8(setting.section), QString::fromUtf8(setting.key));
        QVERIFY2(value.has_value(), setting.key);
        const QString expected =
            setting.id == Setting::BackOpa ? u"0.800000011920929"_s : QString::fromUtf8(setting.defaultValue);
        QCOMPARE(*value, expected);
    }
}

void TestMainWindow::minimumSize_data()
{
    QTest::addColumn<QSize>("stored");
    QTest::addColumn<QSize>("resizedTo");
    QTest::addColumn<QSize>("expected");

    QTest::newRow("narrow") << QSize(500, 100) << QSize(50, 200) << QSize(70, 200);
    QTest::newRow("low") << QSize(500, 100) << QSize(200, 30) << QSize(200, 70);
    QTest::newRow("both") << QSize(500, 100) << QSize(1, 1) << QSize(70, 70);
    QTest::newRow("exactly the minimum") << QSize(500, 100) << QSize(70, 70) << QSize(70, 70);
    QTest::newRow("stored too small") << QSize(30, 20) << QSize() << QSize(70, 70);
    QTest::newRow("stored zero") << QSize(0, 0) << QSize() << QSize(70, 70);
}

void TestMainWindow::minimumSize()
{
    QFETCH(QSize, stored);
    QFETCH(QSize, resizedTo);
    QFETCH(QSize, expected);

    writeIni(u"[Form]\r\nHeight=%1\r\nWidth=%2\r\n"_s.arg(stored.height()).arg(stored.width()).toUtf8());
    TForm1 form(home());
    form.show();
    if (resizedTo.isValid())
        form.resize(resizedTo);
    QCOMPARE(form.size(), expected);
}

void TestMainWindow::currentGroupFromSettings_data()
{
    QTest::addColumn<QByteArray>("index");
    QTest::addColumn<int>("expected");

    QTest::newRow("3") << QByteArray("3") << 3;
    QTest::newRow("4") << QByteArray("4") << 4;
    QTest::newRow("5 is past the groups") << QByteArray("5") << 0;
    QTest::newRow("-1") << QByteArray("-1") << 0;
    QTest::newRow("huge") << QByteArray("2147483647") << 0;
}

void TestMainWindow::currentGroupFromSettings()
{
    QFETCH(QByteArray, index);
    QFETCH(int, expected);

    // One distinct file per group, so the buttons tell which file was read.
    for (int n = 0; n < kGroupCount; ++n) {
        const QString target = file(u"file%1.txt"_s.arg(n));
        QVERIFY(writeBytes(target, "x"));
        QVERIFY(writeBytes(file(groupFileName(n)), target.toUtf8() + "\r\n"));
    }
    writeIni("[Menu]\r\nIndex=" + index + "\r\n");

    TForm1 form(home());
    form.show();
    QCOMPARE(form.MenuIndex, expected);
    QVERIFY(form.groupItem(expected)->isChecked());
    QCOMPARE(form.LaunchBtn.size(), 1);
    QCOMPARE(form.LaunchBtn[0]->filePath(), file(u"file%1.txt"_s.arg(expected)));
    // Saving goes to the current group's own file.
    QVERIFY(form.SaveGroup());
    QCOMPARE(readBytes(file(groupFileName(expected))), file(u"file%1.txt"_s.arg(expected)).toUtf8() + ",,\r\n");

    QVERIFY(form.close());
    QCOMPARE(IniFile::load(file(u"Quillbrook.ini"_s)).value(u"Menu", u"Index"), QString::number(expected));
}

void TestMainWindow::positionOffEveryScreen_data()
{
    QTest::addColumn<bool>("fromBottomRight"); // else from the top-left corner
    QTest::addColumn<QPoint>("offset");
    QTest::addColumn<bool>("moved");

    QTest::newRow("far right and below") << true << QPoint(1000, 1000) << true;
    QTest::newRow("far left and above") << false << QPoint(-5000, -5000) << true;
    QTest::newRow("partly on screen stays") << true << QPoint(-50, -50) << false;
}

void TestMainWindow::positionOffEveryScreen()
{
    QFETCH(bool, fromBottomRight);
    QFETCH(QPoint, offset);
    QFETCH(bool, moved);

    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    const QPoint stored = (fromBottomRight ? screen.bottomRight() : screen.topLeft()) + offset;
    writeIni(u"[Form]\r\nTop=%1\r\nLeft=%2\r\nHeight=100\r\nWidth=500\r\n"_s.arg(stored.y()).arg(stored.x()).toUtf8());

    TForm1 form(home());
    form.show();
    QCOMPARE(form.size(), QSize(500, 100));
    if (moved)
        QVERIFY2(screen.contains(form.geometry()), qPrintable(u"%1,%2"_s.arg(form.x()).arg(form.y())));
    else
        QCOMPARE(form.pos(), stored);
}

void TestMainWindow::setBackColor_data()
{
    QTest::addColumn<int>("earlier"); // a direction applied first; -100 for none
    QTest::addColumn<bool>("gradient");
    QTest::addColumn<int>("direction");
    QTest::addColumn<QPointF>("start");
    QTest::addColumn<QPointF>("stop");

    QTest::newRow("solid") << -100 << false << 1 << QPointF(0, 0) << QPointF(0, 1);
    QTest::newRow("solid keeps earlier positions") << 2 << false << 0 << QPointF(0, 0) << QPointF(1, 1);
    QTest::newRow("vertical") << -100 << true << 0 << QPointF(0, 0) << QPointF(0, 1);
    QTest::newRow("horizontal") << -100 << true << 1 << QPointF(0, 0) << QPointF(1, 0);
    QTest::newRow("diagonal") << -100 << true << 2 << QPointF(0, 0) << QPointF(1, 1);
    QTest::newRow("vertical after diagonal") << 2 << true << 0 << QPointF(0, 0) << QPointF(0, 1);
    QTest::newRow("3 keeps horizontal") << 1 << true << 3 << QPointF(0, 0) << QPointF(1, 0);
    QTest::newRow("-1 keeps diagonal") << 2 << true << -1 << QPointF(0, 0) << QPointF(1, 1);
    QTest::newRow("other value before any") << -100 << true << 9 << QPointF(0, 0) << QPointF(0, 1);
}

void TestMainWindow::setBackColor()
{
    QFETCH(int, earlier);
    QFETCH(bool, gradient);
    QFETCH(int, direction);
    QFETCH(QPointF, start);
    QFETCH(QPointF, stop);

    TForm1 form(home());
    form.color0 = 0x80112233;
    form.color1 = 0xFF445566;
    if (earlier != -100) {
        form.isGradient = true;
        form.Direction = earlier;
        form.SetBackColor();
    }
    form.isGradient = gradient;
    form.Direction = direction;
    form.SetBackColor();

    const Plate *plate = form.Rectangle1;
    QCOMPARE(plate->isGradient(), gradient);
    QCOMPARE(plate->color0().rgba(), form.color0);
    if (gradient)
        QCOMPARE(plate->color1().rgba(), form.color1);
    QCOMPARE(plate->gradientStart(), start);
    QCOMPARE(plate->gradientStop(), stop);
}

void TestMainWindow::showPaintsBackgroundFromSettings()
{
    writeIni("[Back]\r\nOpa=1.5\r\nColor0=-16776961\r\nColor1=-65536\r\nGradient=1\r\nDirection=1\r\n");
    TForm1 form(home());
    QVERIFY(!form.Rectangle1->isGradient());
    form.show();

    QVERIFY(form.Rectangle1->isGradient());
    QCOMPARE(form.Rectangle1->color0().rgba(), 0xFF0000FFu);
    QCOMPARE(form.Rectangle1->color1().rgba(), 0xFFFF0000u);
    QCOMPARE(form.Rectangle1->gradientStop(), QPointF(1, 0));
    QCOMPARE(form.Rectangle1->opacity(), 1.0);
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
