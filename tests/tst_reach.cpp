// SPDX-License-Identifier: MIT
// What a new user must be able to reach and see on the bar: rows beyond
// the plate scrolled into it (the wheel, the focus keys, a drop), the marks
// that say rows lie beyond, hints over an inactive bar, and the name of the
// group switched to.
#include "app/GroupCaption.h"
#include "app/Unit1.h"
#include "TestFiles.h"
#include "BarFixture.h"
#include "BarProbe.h"

#include <QApplication>
#include <QToolTip>
#include <QWheelEvent>

using namespace Qt::StringLiterals;

class TestReach : public QObject, protected BarFixture
{
    Q_OBJECT

private:
    // Group 0 with `count` existing files; the bar keeps its default
    // 500 x 100, seven buttons a row.
    void writeGroup(int count, int group = 0)
    {
        QByteArray lines;
        for (int i = 0; i < count; ++i) {
            const QString path = file(u"f%1.txt"_s.arg(i, 3, 10, QLatin1Char('0')));
            QVERIFY(TestFiles::writeBytes(path, "x\n"));
            lines += path.toUtf8() + ",,f" + QByteArray::number(i) + "\r\n";
        }
        QVERIFY(TestFiles::writeBytes(file(groupFileName(group)), lines));
    }
    // A turn of the wheel over the rows; one over a button comes to the layer
    // too, as the button ignores it (the end-to-end suite turns a real one).
    static void wheel(const TForm1 &form, int angle)
    {
        IconLayer *layer = BarProbe::FlowLayout1(form);
        const QPointF at = QRectF(layer->rect()).center();
        QWheelEvent event(at, layer->mapToGlobal(at), QPoint(), QPoint(0, angle), Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(layer, &event);
    }
    // The button lies whole within the layer, where the user sees it.
    static bool inView(const TForm1 &form, qsizetype index)
    {
        const IconLayer *layer = BarProbe::FlowLayout1(form);
        return layer->rect().contains(BarProbe::LaunchBtn(form).at(index)->geometry());
    }
    // Shown and active, with every button made: those out of sight follow
    // the first paint.
    static void showActive(TForm1 &form, qsizetype count)
    {
        form.show();
        form.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        QTRY_COMPARE(BarProbe::LaunchBtn(form).size(), count);
    }

private Q_SLOTS:
    void init() { QVERIFY(setUp()); }
    void cleanup() { tearDown(); }

    void wheelScrollsRows_data();
    void wheelScrollsRows();
    void focusKeysScrollIntoView();
    void dropShowsNewButton();
    void rowsFollowChanges();
    void hintOverInactiveBar();
    void groupSwitchShowsName_data();
    void groupSwitchShowsName();
};

void TestReach::wheelScrollsRows_data()
{
    QTest::addColumn<int>("angle");
    QTest::addColumn<int>("turns");
    QTest::newRow("a mouse wheel's notch") << 120 << 1;
    QTest::newRow("a touchpad's small steps") << 30 << 4;
}

void TestReach::wheelScrollsRows()
{
    QFETCH(int, angle);
    QFETCH(int, turns);
    writeGroup(20);
    TForm1 form(home());
    showActive(form, 20);
    const QSize size = form.size();
    QCOMPARE(size, QSize(500, 100));
    Plate *plate = BarProbe::Rectangle1(form);
    // The group opens at its first row, though the focus is on its last button.
    QVERIFY(inView(form, 0));
    QVERIFY(!inView(form, 7));
    QVERIFY(!plate->rowsAbove());
    QVERIFY(plate->rowsBelow());

    for (int i = 0; i < turns; ++i)
        wheel(form, -angle);
    QTRY_VERIFY(settled(form));
    QVERIFY(inView(form, 7));
    QVERIFY(inView(form, 13));
    QVERIFY(!inView(form, 0));
    QVERIFY(plate->rowsAbove());
    QVERIFY(plate->rowsBelow());
    // The row above leaves no sliver at the layer's top edge: over its
    // first button as right of its last.
    const QImage layer = BarProbe::FlowLayout1(form)->grab().toImage();
    QCOMPARE(layer.pixel(BarProbe::LaunchBtn(form).at(0)->geometry().center().x(), 0),
             layer.pixel(layer.width() - 4, 0));

    // Past the end the rows stop at the last one.
    for (int i = 0; i < 5 * turns; ++i)
        wheel(form, -angle);
    QTRY_VERIFY(settled(form));
    QVERIFY(inView(form, 19));
    QVERIFY(!plate->rowsBelow());

    for (int i = 0; i < 5 * turns; ++i)
        wheel(form, angle);
    QTRY_VERIFY(settled(form));
    QVERIFY(inView(form, 0));
    QVERIFY(!plate->rowsAbove());
    // The rows scroll inside the plate: nothing else moves or grows.
    QCOMPARE(form.size(), size);
    QCOMPARE(plate->geometry(), form.rect());
}

void TestReach::focusKeysScrollIntoView()
{
    writeGroup(20);
    TForm1 form(home());
    showActive(form, 20);
    const QList<LaunchButton *> &buttons = BarProbe::LaunchBtn(form);
    buttons.first()->setFocus(Qt::TabFocusReason);
    QTest::keyClick(buttons.first(), Qt::Key_End);
    QVERIFY(buttons.last()->hasFocus());
    QTRY_VERIFY(settled(form));
    QVERIFY(inView(form, 19));
    QTest::keyClick(buttons.last(), Qt::Key_Up);
    QTRY_VERIFY(settled(form));
    QVERIFY(buttons.at(12)->hasFocus());
    QVERIFY(inView(form, 12));
    QTest::keyClick(buttons.at(12), Qt::Key_Home);
    QTRY_VERIFY(settled(form));
    QVERIFY(inView(form, 0));
}

void TestReach::dropShowsNewButton()
{
    writeGroup(7);
    TForm1 form(home());
    showActive(form, 7);
    QVERIFY(!BarProbe::Rectangle1(form)->rowsBelow());
    form.AddMenuClick();
    const QString eighth = file(u"eighth.txt"_s);
    QVERIFY(TestFiles::writeBytes(eighth, "x\n"));
    form.DropTarget1Dropped({eighth});
    QCOMPARE(BarProbe::LaunchBtn(form).size(), 8);
    QTRY_VERIFY(settled(form));
    QVERIFY(inView(form, 7));
    QVERIFY(BarProbe::Rectangle1(form)->rowsAbove());
    // Dropped before the first button: the first row comes back.
    const QString first = file(u"first.txt"_s);
    QVERIFY(TestFiles::writeBytes(first, "x\n"));
    form.DropTarget1Dropped({first}, 0);
    QTRY_VERIFY(settled(form));
    QVERIFY(inView(form, 0));
}

void TestReach::rowsFollowChanges()
{
    writeGroup(20);
    TForm1 form(home());
    showActive(form, 20);
    const QList<LaunchButton *> &buttons = BarProbe::LaunchBtn(form);
    wheel(form, -120);
    QTRY_VERIFY(settled(form));
    QVERIFY(inView(form, 7));
    // A reorder places the rows anew, still scrolled as they were.
    const int rowTop = buttons.at(7)->y();
    QVERIFY(form.moveEntry(0, 10));
    QCOMPARE(buttons.at(7)->y(), rowTop);
    QVERIFY(inView(form, 7));
    // A taller bar shows every row: they come down to fill it, no mark left.
    form.resize(500, 300);
    QTRY_VERIFY(inView(form, 0));
    QVERIFY(inView(form, 19));
    QVERIFY(!BarProbe::Rectangle1(form)->rowsAbove());
    QVERIFY(!BarProbe::Rectangle1(form)->rowsBelow());
    // Another group opens at its top.
    form.resize(500, 100);
    wheel(form, -240);
    QTRY_VERIFY(settled(form));
    writeGroup(20, 1);
    form.MenuClick(1);
    QTRY_VERIFY(settled(form));
    QVERIFY(inView(form, 0));
    QVERIFY(!BarProbe::Rectangle1(form)->rowsAbove());
}

void TestReach::hintOverInactiveBar()
{
    writeGroup(2);
    TForm1 form(home());
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    // Another window is the active one, as it mostly is for a launcher.
    QWidget other;
    other.resize(100, 100);
    other.show();
    other.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&other));
    QVERIFY(!form.isActiveWindow());
    LaunchButton *button = BarProbe::LaunchBtn(form).at(1);
    QVERIFY(!button->toolTip().isEmpty());
    QTest::mouseMove(button, button->rect().center());
    QTRY_VERIFY(QToolTip::isVisible());
    QCOMPARE(QToolTip::text(), button->toolTip());
    QToolTip::hideText();
}

void TestReach::groupSwitchShowsName_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("shown");
    QTest::newRow("the user's name") << u"仕事"_s << u"仕事"_s;
    QTest::newRow("on one line") << u"two\nlines"_s << u"two lines"_s;
    QTest::newRow("no name: its number") << QString() << u"グループ 2"_s;
}

void TestReach::groupSwitchShowsName()
{
    QFETCH(QString, name);
    QFETCH(QString, shown);
    writeGroup(3);
    TForm1 form(home());
    showActive(form, 3);
    const QSize size = form.size();
    BarProbe::setGroupName(form, 1, name);
    GroupCaption *caption = BarProbe::groupCaption(form);
    QVERIFY(caption);
    QVERIFY(caption->isHidden());
    // An empty group: without the name it would look like lost buttons.
    form.MenuClick(1);
    QVERIFY(caption->isVisible());
    QCOMPARE(caption->name(), shown);
    QVERIFY(BarProbe::Rectangle1(form)->geometry().contains(caption->geometry()));
    QCOMPARE(form.size(), size);
    // Gone after about a second, leaving no timer behind.
    QTRY_VERIFY_WITH_TIMEOUT(caption->isHidden(), 3000);
    QVERIFY(settled(form));
}

QTEST_MAIN(TestReach)
#include "tst_reach.moc"
