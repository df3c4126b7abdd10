// SPDX-License-Identifier: MIT
#include "app/ErrorReport.h"
#include "app/Plate.h"
#include "app/Unit1.h"
#include "core/layout/WindowPlacement.h"
#include "launcher/IconLayer.h"
#include "launcher/LaunchButton.h"
#include "core/settings/IniFile.h"
#include "core/settings/SettingsKeys.h"
#include "BarFixture.h"
#include "BarProbe.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QMessageBox>
#include <QMouseEvent>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <climits>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

using TestFiles::readBytes;
using TestFiles::writeBytes;

QStringList entriesOf(const QString &dir)
{
    return QDir(dir).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name);
}

} // namespace

char *toString(const StoredGeometry &g)
{
    return QTest::toString(u"left %1, top %2, width %3, height %4"_s.arg(g.left).arg(g.top).arg(g.width).arg(g.height));
}

Q_DECLARE_METATYPE(ErrorReport::CloseChoice)
Q_DECLARE_METATYPE(StoredGeometry)
Q_DECLARE_METATYPE(QList<ScreenArea>)

class TestMainWindow : public QObject, protected BarFixture
{
    Q_OBJECT

private:
    void writeGeometry(const StoredGeometry &g)
    {
        writeIni(u"[Form]\r\nTop=%1\r\nLeft=%2\r\nHeight=%3\r\nWidth=%4\r\n"_s.arg(g.top)
                     .arg(g.left)
                     .arg(g.height)
                     .arg(g.width)
                     .toUtf8());
    }
    // The geometry the settings file holds now.
    StoredGeometry storedGeometry() const
    {
        const IniFile ini = IniFile::load(file(u"Quillbrook.ini"_s));
        const auto value = [&](const char *key) {
            return ini.value(u"Form"_s, QString::fromUtf8(key)).value_or(u"?"_s).toInt();
        };
        return {value("Left"), value("Top"), value("Width"), value("Height")};
    }

private Q_SLOTS:
    void init();
    void cleanup();

    void startsWithDefaultsAndNoFiles();
    void closeWritesSettingsButNoGroupFile();
    void minimumSize_data();
    void minimumSize();
    void currentGroupFromSettings_data();
    void currentGroupFromSettings();
    void placeOnScreens_data();
    void placeOnScreens();
    void screensChangeWhileShown_data();
    void screensChangeWhileShown();
    void geometryFitsTheScreen_data();
    void geometryFitsTheScreen();
    void imposedGeometryNotStored_data();
    void imposedGeometryNotStored();
    void userDragStored_data();
    void userDragStored();
    void closeWhenSettingsCannotBeWritten_data();
    void closeWhenSettingsCannotBeWritten();
    void stayAfterFailedCloseThenCloseAgain();
    void closeBoxKeys_data();
    void closeBoxKeys();
    void setBackColor_data();
    void setBackColor();
    void showPaintsBackgroundFromSettings();
    void groupNameCaptions();
    void messageBesideBar_data();
    void messageBesideBar();
};

void TestMainWindow::messageBesideBar_data()
{
    QTest::addColumn<QRect>("bar");
    QTest::addColumn<QPoint>("box");

    // Screen 1000 x 800; the box is 300 x 100.
    QTest::newRow("room below") << QRect(100, 0, 500, 100) << QPoint(100, 100);
    QTest::newRow("bar at the bottom") << QRect(100, 700, 500, 100) << QPoint(100, 600);
    QTest::newRow("bar at the right edge") << QRect(900, 0, 100, 100) << QPoint(700, 100);
    QTest::newRow("bar fills the height") << QRect(0, 0, 400, 800) << QPoint(400, 0);
    QTest::newRow("bar fills the screen") << QRect(0, 0, 1000, 800) << QPoint(0, 0);
}

void TestMainWindow::messageBesideBar()
{
    QFETCH(QRect, bar);
    QFETCH(QPoint, box);
    const QRect screen(0, 0, 1000, 800);
    const QPoint placed = ErrorReport::placeBeside(bar, QSize(300, 100), screen);
    QCOMPARE(placed, box);
    QVERIFY(screen.contains(QRect(placed, QSize(300, 100))));
}

void TestMainWindow::groupNameCaptions()
{
    writeIni("[Menu]\r\nName1=a\tb&c\r\n");
    TForm1 form(home());
    // The menu shows blanks for tabs and line breaks; the name itself is
    // kept as the user wrote it, and written back so.
    QCOMPARE(BarProbe::groupItem(BarProbe::menus(form), 1)->text(), u"a b&&c"_s);
    BarProbe::setGroupName(form, 2, u"x\ny\r\nz"_s);
    QCOMPARE(BarProbe::groupItem(BarProbe::menus(form), 2)->text(), u"x y  z"_s);
    QCOMPARE(form.groupName(1), u"a\tb&c"_s);
    QCOMPARE(form.groupName(2), u"x\ny\r\nz"_s);
    QVERIFY(form.WriteIniFile());
    QVERIFY(readBytes(file(u"Quillbrook.ini"_s)).contains("Name1=a\tb&c\r\n"));
}

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

    // The default place passes the right edge of the tests' 800 pixel wide
    // screen: the window moves in, the stored place stays the default.
    QCOMPARE(form.userGeometry(), (StoredGeometry{670, 0, 500, 100}));
    QCOMPARE(form.size(), QSize(500, 100));
    QCOMPARE(form.y(), 0);
    QVERIFY(form.screen()->availableGeometry().contains(form.geometry()));
    QCOMPARE(form.MenuIndex(), 0);
    QVERIFY(BarProbe::groupItem(BarProbe::menus(form), 0)->isChecked());
    QVERIFY(!form.settings().isShowTaskBar);
    QVERIFY(!form.settings().isTop);
    QVERIFY(!form.settings().isStealth);
    QVERIFY(!BarProbe::Timer1(form)->isActive());
    QCOMPARE(form.buttonIconSize().first, 48);
    QCOMPARE(form.settings().pad, 14);
    QCOMPARE(form.settings().GlowNo, 4);
    QVERIFY(form.settings().FShowhint);
    QCOMPARE(BarProbe::FlowLayout1(form)->horizontalGap(), 2);
    QCOMPARE(BarProbe::FlowLayout1(form)->verticalGap(), 2);
    QCOMPARE(float(BarProbe::Rectangle1(form)->opacity()), 0.8f);

    // The empty group switches registration mode on.
    QVERIFY(BarProbe::LaunchBtn(form).isEmpty());
    QVERIFY(form.isRegistrationAreaShown());
    QVERIFY(BarProbe::AddMenu(BarProbe::menus(form))->isChecked());
    QVERIFY(BarProbe::AddMenu2(BarProbe::menus(form))->isChecked());
    QVERIFY(!BarProbe::MenuItem6(BarProbe::menus(form))->isEnabled());

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
    // The system's reason follows, so the user can tell the failures apart;
    // a file that is not there could not be made rather than written.
    const QString failed = missingFolder ? u" を作成できません。"_s : u" に書き込めません。"_s;
    QVERIFY2(m_asked.first().startsWith(ini + failed), qPrintable(m_asked.first()));
    QVERIFY(m_asked.first().size() > ini.size() + 10);
    QVERIFY(m_shown.isEmpty());
    QCOMPARE(form.isVisible(), !closes);
    QCOMPARE(closed.size(), closes ? 1 : 0);
    if (answer == ErrorReport::CloseChoice::Retry)
        QVERIFY(QFileInfo(ini).isFile());
}

void TestMainWindow::closeBoxKeys_data()
{
    QTest::addColumn<QList<int>>("keys");
    QTest::addColumn<int>("boxes");

    QTest::newRow("Escape") << QList<int>{Qt::Key_Escape} << 1;
    // Enter retries, which meets the same obstacle and asks again.
    QTest::newRow("Enter, then Escape") << QList<int>{Qt::Key_Return, Qt::Key_Escape} << 2;
}

void TestMainWindow::closeBoxKeys()
{
    QFETCH(QList<int>, keys);
    QFETCH(int, boxes);

    // The launcher's own box this time, answered from the keyboard.
    ErrorReport::setHandlers([this](const QString &message) { m_shown.append(message); }, {});
    QVERIFY(QDir(home()).mkdir(u"Quillbrook.ini"_s));
    TForm1 form(home());
    QSignalSpy closed(&form, &TForm1::closed);
    form.show();

    int seen = 0;
    QTimer keyboard;
    connect(&keyboard, &QTimer::timeout, this, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box)
            return;
        ++seen;
        if (seen <= keys.size()) {
            QTest::keyClick(box, Qt::Key(keys[seen - 1]));
            return;
        }
        // A key that did nothing: leave the way that fails the test.
        for (QAbstractButton *button : box->buttons()) {
            if (box->buttonRole(button) == QMessageBox::DestructiveRole)
                button->click();
        }
    });
    keyboard.start(20);
    QVERIFY(!form.close());
    keyboard.stop();

    QCOMPARE(seen, boxes);
    QVERIFY(form.isVisible());
    QCOMPARE(closed.size(), 0);
    QVERIFY(m_shown.isEmpty());
}

void TestMainWindow::stayAfterFailedCloseThenCloseAgain()
{
    QVERIFY(QDir(home()).mkdir(u"Quillbrook.ini"_s));
    QVERIFY(writeBytes(file(u"notes.txt"_s), "text\n"));
    QVERIFY(writeBytes(file(u"QuillbrookPath.txt"_s), file(u"notes.txt"_s).toUtf8() + ",,Notes\r\n"));

    TForm1 form(home());
    form.show();
    QCOMPARE(BarProbe::LaunchBtn(form).size(), 1);
    QVERIFY(!form.close());

    // Still usable: the group and its lines are all there.
    QVERIFY(form.isVisible());
    QCOMPARE(BarProbe::LaunchBtn(form).size(), 1);
    QCOMPARE(form.LaunchPath[0]->lines(), QStringList{file(u"notes.txt"_s) + u",,Notes"_s});

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
        QCOMPARE(BarProbe::LaunchBtn(form).size(), 2);
        QVERIFY(form.close());
        QCOMPARE(closed.size(), 1);
    }

    QCOMPARE(readBytes(file(u"QuillbrookPath.txt"_s)), group);
    QCOMPARE(readBytes(file(u"QuillbrookPath2.txt"_s)), otherGroup);
    QCOMPARE(entriesOf(home()),
             (QStringList{u"Quillbrook.ini"_s, u"QuillbrookPath.txt"_s, u"QuillbrookPath2.txt"_s, u"notes.txt"_s}));

    // Every key, each holding its default; the opacity is single precision.
    const IniFile ini = IniFile::load(file(u"Quillbrook.ini"_s));
    for (const SettingSpec &setting : kSettings) {
        const std::optional<QString> value = ini.value(QString::fromUtf8(setting.section),
                                                       QString::fromUtf8(setting.key));
        QVERIFY2(value.has_value(), setting.key);
        const QString expected = setting.id == Setting::BackOpa ? u"0.800000011920929"_s
                                                                : QString::fromUtf8(setting.defaultValue);
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
    QCOMPARE(form.MenuIndex(), expected);
    QVERIFY(BarProbe::groupItem(BarProbe::menus(form), expected)->isChecked());
    QCOMPARE(BarProbe::LaunchBtn(form).size(), 1);
    QCOMPARE(BarProbe::LaunchBtn(form)[0]->filePath(), file(u"file%1.txt"_s.arg(expected)));
    // Saving goes to the current group's own file.
    QVERIFY(form.SaveGroup());
    QCOMPARE(readBytes(file(groupFileName(expected))), file(u"file%1.txt"_s.arg(expected)).toUtf8() + ",,\r\n");

    QVERIFY(form.close());
    QCOMPARE(IniFile::load(file(u"Quillbrook.ini"_s)).value(u"Menu", u"Index"), QString::number(expected));
}

void TestMainWindow::placeOnScreens_data()
{
    QTest::addColumn<QList<ScreenArea>>("screens");
    QTest::addColumn<StoredGeometry>("stored");
    QTest::addColumn<QRect>("expected");

    // A primary screen with a panel along its bottom, a second one to its
    // right and higher up.
    const ScreenArea primary{QRect(0, 0, 1000, 800), QRect(0, 0, 1000, 770)};
    const ScreenArea second{QRect(1000, -200, 800, 600), QRect(1000, -200, 800, 600)};
    const QList<ScreenArea> both{primary, second};

    QTest::newRow("fits") << both << StoredGeometry{100, 100, 500, 100} << QRect(100, 100, 500, 100);
    QTest::newRow("on the second screen")
        << both << StoredGeometry{1100, -150, 500, 100} << QRect(1100, -150, 500, 100);
    QTest::newRow("past the second's right edge")
        << both << StoredGeometry{1500, 0, 500, 100} << QRect(1300, 0, 500, 100);
    QTest::newRow("over the panel") << both << StoredGeometry{0, 700, 300, 100} << QRect(0, 670, 300, 100);
    QTest::newRow("larger than the available area")
        << both << StoredGeometry{0, 0, 5000, 5000} << QRect(0, 0, 1000, 770);
    QTest::newRow("corner off both, overlaps the second")
        << both << StoredGeometry{1500, -300, 500, 200} << QRect(1300, -200, 500, 200);
    QTest::newRow("off every screen: the primary")
        << both << StoredGeometry{5000, 5000, 100, 100} << QRect(900, 670, 100, 100);
    QTest::newRow("overlap past 32 bits")
        << both << StoredGeometry{INT_MIN, INT_MIN, INT_MAX, INT_MAX} << QRect(0, 0, 1000, 770);
    QTest::newRow("screen smaller than the minimum") << QList<ScreenArea>{{QRect(0, 0, 50, 40), QRect(0, 0, 50, 40)}}
                                                     << StoredGeometry{10, 10, 500, 100} << QRect(0, 0, 70, 70);
    QTest::newRow("no screens") << QList<ScreenArea>{} << StoredGeometry{100, 100, 500, 100} << QRect(0, 0, 70, 70);
}

void TestMainWindow::placeOnScreens()
{
    QFETCH(QList<ScreenArea>, screens);
    QFETCH(StoredGeometry, stored);
    QFETCH(QRect, expected);

    QCOMPARE(placeOnScreen(stored, screens, QSize(70, 70)), expected);
}

void TestMainWindow::screensChangeWhileShown_data()
{
    QTest::addColumn<QList<ScreenArea>>("screens");
    QTest::addColumn<QRect>("current");
    QTest::addColumn<bool>("displaced");
    QTest::addColumn<QRect>("expected");

    // The bar is stored on the second screen, right of the primary.
    const ScreenArea primary{QRect(0, 0, 1000, 800), QRect(0, 0, 1000, 770)};
    const ScreenArea second{QRect(1000, 0, 800, 600), QRect(1000, 0, 800, 600)};
    const QList<ScreenArea> both{primary, second};
    const QRect storedPlace(1200, 100, 500, 100);

    QTest::newRow("its screen removed: wholly onto the other")
        << QList<ScreenArea>{primary} << storedPlace << false << QRect(500, 100, 500, 100);
    QTest::newRow("its screen back: to the stored place") << both << QRect(500, 100, 500, 100) << true << storedPlace;
    QTest::newRow("still moved while its screen is away")
        << QList<ScreenArea>{primary} << QRect(500, 100, 500, 100) << true << QRect(500, 100, 500, 100);
    QTest::newRow("another screen removed: stays")
        << QList<ScreenArea>{second} << QRect(1100, 300, 500, 100) << false << QRect(1100, 300, 500, 100);
    QTest::newRow("its screen made smaller")
        << QList<ScreenArea>{primary, {QRect(1000, 0, 640, 480), QRect(1000, 0, 640, 480)}} << storedPlace << false
        << QRect(1140, 100, 500, 100);
    QTest::newRow("no screens left") << QList<ScreenArea>{} << storedPlace << false << QRect(0, 0, 70, 70);
}

void TestMainWindow::screensChangeWhileShown()
{
    QFETCH(QList<ScreenArea>, screens);
    QFETCH(QRect, current);
    QFETCH(bool, displaced);
    QFETCH(QRect, expected);

    const StoredGeometry stored{1200, 100, 500, 100};
    const QRect placed = placeAfterScreenChange(stored, current, displaced, screens, QSize(70, 70));
    QCOMPARE(placed, expected);
    QCOMPARE(isStoredPlace(stored, placed), placed == QRect(1200, 100, 500, 100));
}

void TestMainWindow::geometryFitsTheScreen_data()
{
    QTest::addColumn<StoredGeometry>("stored");
    QTest::addColumn<QRect>("shown");

    // The offscreen platform's one screen: 800 x 800, all of it available.
    QTest::newRow("fits") << StoredGeometry{100, 200, 300, 150} << QRect(100, 200, 300, 150);
    QTest::newRow("past the right edge") << StoredGeometry{670, 0, 500, 100} << QRect(300, 0, 500, 100);
    QTest::newRow("huge width") << StoredGeometry{670, 0, 99999999, 100} << QRect(0, 0, 800, 100);
    QTest::newRow("huge height, low down") << StoredGeometry{100, 700, 300, 99999999} << QRect(100, 0, 300, 800);
    QTest::newRow("largest size") << StoredGeometry{0, 0, INT_MAX, INT_MAX} << QRect(0, 0, 800, 800);
    QTest::newRow("largest place") << StoredGeometry{INT_MAX, INT_MAX, 500, 100} << QRect(300, 700, 500, 100);
    QTest::newRow("smallest place") << StoredGeometry{INT_MIN, INT_MIN, 500, 100} << QRect(0, 0, 500, 100);
    QTest::newRow("partly above and left") << StoredGeometry{-50, -50, 500, 100} << QRect(0, 0, 500, 100);
    QTest::newRow("far right and below") << StoredGeometry{1800, 1800, 500, 100} << QRect(300, 700, 500, 100);
    QTest::newRow("negative size") << StoredGeometry{100, 100, -500, -1} << QRect(100, 100, 70, 70);
    QTest::newRow("smallest size") << StoredGeometry{100, 100, INT_MIN, INT_MIN} << QRect(100, 100, 70, 70);
}

void TestMainWindow::geometryFitsTheScreen()
{
    QFETCH(StoredGeometry, stored);
    QFETCH(QRect, shown);

    const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
    if (available != QRect(0, 0, 800, 800))
        QSKIP("the table is written for the offscreen platform's 800 x 800 screen");
    writeGeometry(stored);

    TForm1 form(home());
    form.show();
    QCOMPARE(form.geometry(), shown);
    QVERIFY(available.contains(form.geometry()));
    // What was read is what is written back: the user moved nothing.
    QCOMPARE(form.userGeometry(), stored);
    QVERIFY(form.close());
    QCOMPARE(storedGeometry(), stored);
}

enum class Imposed { Move, Resize, Maximise, OneOff };

void TestMainWindow::imposedGeometryNotStored_data()
{
    QTest::addColumn<int>("imposed");

    QTest::newRow("a tiling layout's place") << int(Imposed::Move);
    QTest::newRow("a tiling layout's size") << int(Imposed::Resize);
    QTest::newRow("maximised") << int(Imposed::Maximise);
    QTest::newRow("a pixel off at a fractional scale") << int(Imposed::OneOff);
}

void TestMainWindow::imposedGeometryNotStored()
{
    QFETCH(int, imposed);

    const StoredGeometry stored{100, 200, 600, 150};
    writeGeometry(stored);
    TForm1 form(home());
    form.show();
    switch (Imposed(imposed)) {
    case Imposed::Move:
        form.move(0, 0);
        break;
    case Imposed::Resize:
        form.resize(800, 400);
        break;
    case Imposed::Maximise:
        form.showMaximized();
        break;
    case Imposed::OneOff:
        form.setGeometry(101, 200, 599, 151);
        break;
    }
    QTRY_VERIFY(form.geometry() != QRect(100, 200, 600, 150));
    QVERIFY(form.WriteIniFile());
    QCOMPARE(storedGeometry(), stored);
    QVERIFY(form.close());
    QCOMPARE(storedGeometry(), stored);
}

void TestMainWindow::userDragStored_data()
{
    QTest::addColumn<StoredGeometry>("stored");
    QTest::addColumn<bool>("resizeMode");
    QTest::addColumn<int>("button"); // Qt::MouseButton
    QTest::addColumn<QPoint>("delta");
    QTest::addColumn<StoredGeometry>("expected");

    const StoredGeometry fits{100, 200, 300, 150};
    QTest::newRow("move") << fits << false << int(Qt::LeftButton) << QPoint(50, 30)
                          << StoredGeometry{150, 230, 300, 150};
    QTest::newRow("move, right button") << fits << false << int(Qt::RightButton) << QPoint(-40, 60)
                                        << StoredGeometry{60, 260, 300, 150};
    QTest::newRow("resize") << fits << true << int(Qt::LeftButton) << QPoint(100, 50)
                            << StoredGeometry{100, 200, 400, 200};
    QTest::newRow("resize below the minimum")
        << fits << true << int(Qt::LeftButton) << QPoint(-500, -500) << StoredGeometry{100, 200, 70, 70};
    // Written back at the edge, as the window itself comes back.
    QTest::newRow("moved partly above and left")
        << fits << false << int(Qt::LeftButton) << QPoint(-150, -250) << StoredGeometry{0, 0, 300, 150};
    // The window was shown 800 wide at 0; moving it keeps the stored width.
    QTest::newRow("move with a huge stored width")
        << StoredGeometry{670, 0, 99999999, 100} << false << int(Qt::LeftButton) << QPoint(0, 100)
        << StoredGeometry{0, 100, 99999999, 100};
}

void TestMainWindow::userDragStored()
{
    QFETCH(StoredGeometry, stored);
    QFETCH(bool, resizeMode);
    QFETCH(int, button);
    QFETCH(QPoint, delta);
    QFETCH(StoredGeometry, expected);

    writeGeometry(stored);
    TForm1 form(home());
    form.show();
    BarProbe::ReSize2(BarProbe::menus(form))->setChecked(resizeMode);

    // A pointer's global position does not follow the window it moves.
    const auto pointer = [&](QEvent::Type type, QPoint global, Qt::MouseButtons held) {
        const QPointF local = BarProbe::FlowLayout1(form)->mapFromGlobal(QPointF(global));
        QMouseEvent event(type, local, QPointF(global), Qt::MouseButton(button), held, Qt::NoModifier);
        QCoreApplication::sendEvent(BarProbe::FlowLayout1(form), &event);
    };
    const QPoint press = BarProbe::FlowLayout1(form)->mapToGlobal(QPoint(30, 30));
    pointer(QEvent::MouseButtonPress, press, Qt::MouseButton(button));
    pointer(QEvent::MouseMove, press + delta / 2, Qt::MouseButton(button));
    pointer(QEvent::MouseMove, press + delta, Qt::MouseButton(button));
    pointer(QEvent::MouseButtonRelease, press + delta, Qt::NoButton);
    QVERIFY(!BarProbe::PopupMenu2(BarProbe::menus(form))->isVisible());

    // Then the window manager has its way; only the user's drag is kept.
    form.move(5, 5);
    form.resize(200, 100);
    QVERIFY(form.close());
    QCOMPARE(storedGeometry(), expected);
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
    BarSettings s = form.settings();
    s.color0 = 0x80112233;
    s.color1 = 0xFF445566;
    if (earlier != -100) {
        s.isGradient = true;
        s.Direction = earlier;
        QVERIFY(form.applySettings(s, false));
    }
    s.isGradient = gradient;
    s.Direction = direction;
    QVERIFY(form.applySettings(s, false));

    const Plate *plate = BarProbe::Rectangle1(form);
    QCOMPARE(plate->isGradient(), gradient);
    QCOMPARE(plate->color0().rgba(), form.settings().color0);
    if (gradient)
        QCOMPARE(plate->color1().rgba(), form.settings().color1);
    QCOMPARE(plate->gradientStart(), start);
    QCOMPARE(plate->gradientStop(), stop);
}

void TestMainWindow::showPaintsBackgroundFromSettings()
{
    writeIni("[Back]\r\nOpa=1.5\r\nColor0=-16776961\r\nColor1=-65536\r\nGradient=1\r\nDirection=1\r\n");
    TForm1 form(home());
    QVERIFY(!BarProbe::Rectangle1(form)->isGradient());
    form.show();

    QVERIFY(BarProbe::Rectangle1(form)->isGradient());
    QCOMPARE(BarProbe::Rectangle1(form)->color0().rgba(), 0xFF0000FFu);
    QCOMPARE(BarProbe::Rectangle1(form)->color1().rgba(), 0xFFFF0000u);
    QCOMPARE(BarProbe::Rectangle1(form)->gradientStop(), QPointF(1, 0));
    QCOMPARE(BarProbe::Rectangle1(form)->opacity(), 1.0);
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
