// SPDX-License-Identifier: MIT
#include "core/layout/FlowPlacement.h"

#include <QTest>

class TestFlowPlacement : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void place_data();
    void place();
    void dropSlot_data();
    void dropSlot();
};

void TestFlowPlacement::place_data()
{
    QTest::addColumn<int>("areaWidth");
    QTest::addColumn<int>("gapH");
    QTest::addColumn<int>("gapV");
    QTest::addColumn<QList<QSize>>("sizes");
    QTest::addColumn<QList<QRect>>("expected");

    const QSize b(62, 62);

    QTest::newRow("nothing to place") << 200 << 2 << 2 << QList<QSize>{} << QList<QRect>{};

    // Inside the padding of 4, three 62-wide buttons with gaps of 2 end at
    // x = 194, within the right edge at 196.
    QTest::newRow("one row from the left edge")
        << 200 << 2 << 2 << QList<QSize>{b, b, b} << QList<QRect>{{4, 4, 62, 62}, {68, 4, 62, 62}, {132, 4, 62, 62}};

    QTest::newRow("wrap when the right edge would be passed")
        << 200 << 2 << 2 << QList<QSize>{b, b, b, b, b}
        << QList<QRect>{{4, 4, 62, 62}, {68, 4, 62, 62}, {132, 4, 62, 62}, {4, 68, 62, 62}, {68, 68, 62, 62}};

    // Two buttons end at x = 130: a width of 134 leaves exactly that room.
    QTest::newRow("exact fit stays on the row")
        << 134 << 2 << 2 << QList<QSize>{b, b} << QList<QRect>{{4, 4, 62, 62}, {68, 4, 62, 62}};
    QTest::newRow("one pixel short wraps")
        << 133 << 2 << 2 << QList<QSize>{b, b} << QList<QRect>{{4, 4, 62, 62}, {4, 68, 62, 62}};

    QTest::newRow("too wide first button stands alone")
        << 50 << 2 << 2 << QList<QSize>{b, b} << QList<QRect>{{4, 4, 62, 62}, {4, 68, 62, 62}};
    QTest::newRow("too wide button after others gets its own row")
        << 80 << 2 << 2 << QList<QSize>{{20, 20}, {100, 30}, {20, 20}}
        << QList<QRect>{{4, 4, 20, 20}, {4, 26, 100, 30}, {4, 58, 20, 20}};
    QTest::newRow("no room at all: one per row")
        << 0 << 2 << 2 << QList<QSize>{{10, 10}, {10, 10}} << QList<QRect>{{4, 4, 10, 10}, {4, 16, 10, 10}};

    QTest::newRow("row as tall as its tallest item") << 70 << 2 << 2 << QList<QSize>{{30, 10}, {30, 40}, {30, 20}}
                                                     << QList<QRect>{{4, 4, 30, 10}, {36, 4, 30, 40}, {4, 46, 30, 20}};

    QTest::newRow("gaps as given") << 100 << 0 << 9 << QList<QSize>{{46, 20}, {46, 20}, {46, 20}}
                                   << QList<QRect>{{4, 4, 46, 20}, {50, 4, 46, 20}, {4, 33, 46, 20}};
}

void TestFlowPlacement::place()
{
    QFETCH(int, areaWidth);
    QFETCH(int, gapH);
    QFETCH(int, gapV);
    QFETCH(QList<QSize>, sizes);
    QFETCH(QList<QRect>, expected);

    FlowSpacing spacing;
    spacing.gapH = gapH;
    spacing.gapV = gapV;
    QCOMPARE(spacing.padding, 4);
    QCOMPARE(placeFlow(sizes, areaWidth, spacing), expected);
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
    const QList<QRect> slots = placeFlow(QList<QSize>(5, QSize(62, 62)), 200, FlowSpacing{});
    QCOMPARE(nearestSlot(slots, point), slot);
    QCOMPARE(nearestSlot({}, point), qsizetype(-1));
}

QTEST_APPLESS_MAIN(TestFlowPlacement)
#include "tst_flowplacement.moc"
