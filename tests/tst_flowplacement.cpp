// SPDX-License-Identifier: MIT
#include "core/layout/FlowPlacement.h"

#include <QTest>

class TestFlowPlacement : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void place_data();
    void place();
    void slotsShowing_data();
    void slotsShowing();
    void dropSlot_data();
    void dropSlot();
};

void TestFlowPlacement::place_data()
{
    QTest::addColumn<int>("areaWidth");
    QTest::addColumn<int>("gapH");
    QTest::addColumn<int>("gapV");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<int>("count");
    QTest::addColumn<QList<QRect>>("expected");

    const QSize b(62, 62);

    QTest::newRow("nothing to place") << 200 << 2 << 2 << b << 0 << QList<QRect>{};

    // Inside the padding of 4, three 62-wide buttons with gaps of 2 end at
    // x = 194, within the right edge at 196.
    QTest::newRow("one row from the left edge")
        << 200 << 2 << 2 << b << 3 << QList<QRect>{{4, 4, 62, 62}, {68, 4, 62, 62}, {132, 4, 62, 62}};

    QTest::newRow("wrap when the right edge would be passed")
        << 200 << 2 << 2 << b << 5
        << QList<QRect>{{4, 4, 62, 62}, {68, 4, 62, 62}, {132, 4, 62, 62}, {4, 68, 62, 62}, {68, 68, 62, 62}};

    // Two buttons end at x = 130: a width of 134 leaves exactly that room.
    QTest::newRow("exact fit stays on the row")
        << 134 << 2 << 2 << b << 2 << QList<QRect>{{4, 4, 62, 62}, {68, 4, 62, 62}};
    QTest::newRow("one pixel short wraps") << 133 << 2 << 2 << b << 2 << QList<QRect>{{4, 4, 62, 62}, {4, 68, 62, 62}};

    QTest::newRow("too wide: one per row") << 50 << 2 << 2 << b << 2 << QList<QRect>{{4, 4, 62, 62}, {4, 68, 62, 62}};
    QTest::newRow("no room at all: one per row")
        << 0 << 2 << 2 << QSize(10, 10) << 2 << QList<QRect>{{4, 4, 10, 10}, {4, 16, 10, 10}};
    QTest::newRow("gaps as given") << 100 << 0 << 9 << QSize(46, 20) << 3
                                   << QList<QRect>{{4, 4, 46, 20}, {50, 4, 46, 20}, {4, 33, 46, 20}};
    // Absurd settings: nothing moves a slot on, and nothing divides by zero.
    QTest::newRow("slots that never reach the edge")
        << 100 << 0 << 2 << QSize(0, 0) << 3 << QList<QRect>{{4, 4, 0, 0}, {4, 4, 0, 0}, {4, 4, 0, 0}};
}

void TestFlowPlacement::place()
{
    QFETCH(int, areaWidth);
    QFETCH(int, gapH);
    QFETCH(int, gapV);
    QFETCH(QSize, size);
    QFETCH(int, count);
    QFETCH(QList<QRect>, expected);

    FlowSpacing spacing;
    spacing.gapH = gapH;
    spacing.gapV = gapV;
    QCOMPARE(spacing.padding, 4);
    const SlotGrid grid(count, size, areaWidth, spacing);
    QCOMPARE(grid.rects(), expected);
    for (qsizetype slot = 0; slot < count; ++slot)
        QCOMPARE(grid.rect(slot), expected.at(slot));
}

// The rows a view shows: seven buttons of 62 a row in the default bar's
// 470 px, 30 buttons in five rows, a row every 64 px from y = 4.
void TestFlowPlacement::slotsShowing_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("gapV");
    QTest::addColumn<int>("top");
    QTest::addColumn<int>("margin");
    QTest::addColumn<qsizetype>("first");
    QTest::addColumn<qsizetype>("last");

    QTest::newRow("the first rows, the second cut") << 30 << 2 << 0 << 0 << qsizetype(0) << qsizetype(13);
    QTest::newRow("and a row below") << 30 << 2 << 0 << 1 << qsizetype(0) << qsizetype(20);
    QTest::newRow("a sliver of the first row shows") << 30 << 2 << 64 << 0 << qsizetype(0) << qsizetype(20);
    QTest::newRow("the first row just gone") << 30 << 2 << 66 << 0 << qsizetype(7) << qsizetype(20);
    QTest::newRow("the short last row, a row above") << 30 << 2 << 200 << 1 << qsizetype(14) << qsizetype(29);
    QTest::newRow("far above the rows") << 30 << 2 << -500 << 1 << qsizetype(0) << qsizetype(-1);
    QTest::newRow("nothing to show") << 0 << 2 << 0 << 1 << qsizetype(0) << qsizetype(-1);
    QTest::newRow("rows that do not move down: all") << 30 << -62 << 900 << 0 << qsizetype(0) << qsizetype(29);
}

void TestFlowPlacement::slotsShowing()
{
    QFETCH(int, count);
    QFETCH(int, gapV);
    QFETCH(int, top);
    QFETCH(int, margin);
    QFETCH(qsizetype, first);
    QFETCH(qsizetype, last);

    FlowSpacing spacing;
    spacing.gapV = gapV;
    const SlotGrid grid(count, QSize(62, 62), 470, spacing);
    const auto shown = grid.slotsShowing(top, 70, margin);
    QCOMPARE(shown.first, first);
    QCOMPARE(shown.second, last);
}

// Where a dragged button lands, over a bar of two rows: 3 + 2 buttons of 62
// placed from (4, 4), the same slots whatever order they stand in.
void TestFlowPlacement::dropSlot_data()
{
    QTest::addColumn<QPoint>("point");
    QTest::addColumn<qsizetype>("slot");

    QTest::newRow("on a button") << QPoint(100, 30) << qsizetype(1);
    QTest::newRow("in the gap, nearer the right one") << QPoint(131, 30) << qsizetype(2);
    QTest::newRow("left of the bar") << QPoint(-50, 30) << qsizetype(0);
    QTest::newRow("past the end of the first row") << QPoint(400, 20) << qsizetype(2);
    QTest::newRow("second row") << QPoint(100, 100) << qsizetype(4);
    QTest::newRow("past the end of the short last row") << QPoint(170, 200) << qsizetype(4);
    QTest::newRow("above the bar") << QPoint(35, -100) << qsizetype(0);
}

void TestFlowPlacement::dropSlot()
{
    QFETCH(QPoint, point);
    QFETCH(qsizetype, slot);
    const QList<QRect> slots = SlotGrid(5, QSize(62, 62), 200, FlowSpacing{}).rects();
    QCOMPARE(nearestSlot(slots, point), slot);
    QCOMPARE(nearestSlot({}, point), qsizetype(-1));
}

QTEST_APPLESS_MAIN(TestFlowPlacement)
#include "tst_flowplacement.moc"
