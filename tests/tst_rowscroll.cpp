// SPDX-License-Identifier: MIT
#include "core/layout/FlowPlacement.h"
#include "core/layout/RowScroll.h"

#include <QTest>

using namespace Qt::StringLiterals;

// Rows of the default bar's buttons (62 px with the default gaps) as the
// layer places them in a 470 x 70 view, the default 500 x 100 bar.
namespace {

constexpr int kView = 70;
const FlowSpacing kSpacing;

QList<QRect> buttons(int count)
{
    return SlotGrid(count, QSize(62, 62), 470, kSpacing).rects();
}

} // namespace

class TestRowScroll : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void stepped_data();
    void stepped();
    void showing_data();
    void showing();
    void unevenRows();
};

void TestRowScroll::stepped_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("offset");
    QTest::addColumn<int>("notches");
    QTest::addColumn<int>("expected");

    // Seven buttons make a row: 15 make three, whose last ends at 198 with
    // the padding, so the rows scroll by up to 128, a row being 64.
    QTest::newRow("nothing to scroll") << 0 << 0 << 1 << 0;
    QTest::newRow("one row fits") << 7 << 0 << 3 << 0;
    QTest::newRow("the 8th button is a notch away") << 8 << 0 << 1 << 64;
    QTest::newRow("down a row") << 15 << 0 << 1 << 64;
    QTest::newRow("down two rows at once") << 15 << 0 << 2 << 128;
    QTest::newRow("stops at the last row") << 15 << 64 << 5 << 128;
    QTest::newRow("up a row") << 15 << 128 << -1 << 64;
    QTest::newRow("stops at the first row") << 15 << 64 << -3 << 0;
    QTest::newRow("between rows, on to the next") << 15 << 30 << 1 << 64;
    QTest::newRow("between rows, back to the one before") << 15 << 30 << -1 << 0;
    QTest::newRow("beyond the end comes back within it") << 15 << 900 << 0 << 128;
    QTest::newRow("no notch, no move") << 15 << 64 << 0 << 64;
}

void TestRowScroll::stepped()
{
    QFETCH(int, count);
    QFETCH(int, offset);
    QFETCH(int, notches);
    QFETCH(int, expected);
    const RowScroll scroll(buttons(count), kView, kSpacing.padding);
    QCOMPARE(scroll.stepped(offset, notches), expected);
    QVERIFY(scroll.limit() >= 0);
}

void TestRowScroll::showing_data()
{
    QTest::addColumn<int>("offset");
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("expected");

    // 15 buttons: the 8th (index 7) starts the second row, the 15th the third.
    QTest::newRow("already in view stays") << 64 << 7 << 64;
    QTest::newRow("below: its row comes up to the bottom") << 0 << 14 << 128;
    QTest::newRow("the next row down, just enough") << 0 << 7 << 64;
    QTest::newRow("above: its row comes down to the top") << 128 << 0 << 0;
    QTest::newRow("from out of range") << -50 << 14 << 128;
}

void TestRowScroll::showing()
{
    QFETCH(int, offset);
    QFETCH(int, index);
    QFETCH(int, expected);
    const QList<QRect> rects = buttons(15);
    const RowScroll scroll(rects, kView, kSpacing.padding);
    QCOMPARE(scroll.showing(offset, rects.at(index)), expected);
}

void TestRowScroll::unevenRows()
{
    // A filter may hide buttons and a hand-edited file give odd sizes: the
    // stops are the rows' tops whatever their heights, and an item taller
    // than the view shows from its top.
    const QList<QRect> rects{{4, 4, 62, 62}, {4, 68, 62, 200}, {68, 68, 62, 20}, {4, 270, 62, 30}};
    const RowScroll scroll(rects, kView, 4);
    QCOMPARE(scroll.limit(), 304 - kView);
    QCOMPARE(scroll.stepped(0, 1), 64);
    QCOMPARE(scroll.stepped(64, 1), 234);
    QCOMPARE(scroll.showing(0, rects.at(1)), 64);
    QCOMPARE(scroll.showing(234, rects.at(2)), 64);
    QCOMPARE(RowScroll(rects, 0, 4).stepped(0, -1), 0);
}

QTEST_APPLESS_MAIN(TestRowScroll)
#include "tst_rowscroll.moc"
