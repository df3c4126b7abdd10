// SPDX-License-Identifier: MIT
// Summoning, as far as it is the bar's own doing: the focus on the first
// button, and stealth mode held off while the bar has the focus. What the
// window manager does with it is the end-to-end suite's (case "summon").
#include "app/Unit1.h"
#include "launcher/LaunchButton.h"
#include "BarFixture.h"
#include "BarProbe.h"

#include <QApplication>
#include <QTest>
#include <QTimer>

#include <memory>

using namespace Qt::StringLiterals;

class TestSummon : public QObject, protected BarFixture
{
    Q_OBJECT

private Q_SLOTS:
    void init() { QVERIFY(setUp()); }
    void cleanup() { tearDown(); }

    void focusGoesToFirstButton_data();
    void focusGoesToFirstButton();
    void stealthHeldWhileFocused();
};

void TestSummon::focusGoesToFirstButton_data()
{
    QTest::addColumn<bool>("toggle"); // the key's press and --toggle, else --show
    QTest::newRow("--show") << false;
    QTest::newRow("key, --toggle") << true;
}

void TestSummon::focusGoesToFirstButton()
{
    QFETCH(bool, toggle);
    QVERIFY(TestFiles::writeBytes(file(u"a.txt"_s), "x") && TestFiles::writeBytes(file(u"b.txt"_s), "x"));
    QVERIFY(TestFiles::writeBytes(file(u"QuillbrookPath.txt"_s),
                                  (file(u"a.txt"_s) + u",,\r\n"_s + file(u"b.txt"_s) + u",,\r\n"_s).toUtf8()));
    TForm1 bar(home());
    bar.show();
    QWidget other;
    other.show();
    other.activateWindow();
    QTRY_COMPARE(QApplication::activeWindow(), &other);
    const QList<LaunchButton *> &buttons = BarProbe::LaunchBtn(bar);
    QCOMPARE(buttons.size(), 2);
    buttons.at(1)->setFocus();

    toggle ? bar.toggleSummon() : bar.summon();
    QTRY_COMPARE(QApplication::activeWindow(), &bar);
    QCOMPARE(QApplication::focusWidget(), buttons.first());
    // Without an X server no other window can be handed the focus: pressed
    // again, the key leaves the bar as it is.
    bar.toggleSummon();
    QCOMPARE(QApplication::focusWidget(), buttons.first());
}

void TestSummon::stealthHeldWhileFocused()
{
    QVERIFY(TestFiles::writeBytes(file(u"Quillbrook.ini"_s), "[Mode]\r\nStealth=1\r\n"));
    TForm1 bar(home());
    bar.show();
    QVERIFY(BarProbe::Timer1(bar)->isActive());
    QWidget other;
    other.show();
    other.activateWindow();
    QTRY_COMPARE(QApplication::activeWindow(), &other);

    bar.summon();
    QVERIFY(!BarProbe::Timer1(bar)->isActive());
    QTRY_COMPARE(QApplication::activeWindow(), &bar);
    QVERIFY(!BarProbe::Timer1(bar)->isActive());
    // Focus elsewhere: the fade is the pointer's business again.
    other.activateWindow();
    QTRY_VERIFY(BarProbe::Timer1(bar)->isActive());
}

QTEST_MAIN(TestSummon)
#include "tst_summon.moc"
