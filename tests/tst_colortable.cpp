// SPDX-License-Identifier: MIT
#include "settings/ColorComboBox.h"
#include "core/settings/ColorTable.h"

#include <QColor>
#include <QTest>

class TestColorTable : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void namesOrderAndValues();
    void lookup_data();
    void lookup();
    void comboBox();
};

void TestColorTable::namesOrderAndValues()
{
    QCOMPARE(kNamedColors.size(), size_t(148));
    QCOMPARE(namedColorName(0), QStringLiteral("Aliceblue"));
    QCOMPARE(namedColorName(146), QStringLiteral("Yellowgreen"));
    QCOMPARE(namedColorName(147), QStringLiteral("Null"));
    QCOMPARE(namedColorValue(147), QRgb(0));

    QStringList keywords;
    for (int i = 0; i < 147; ++i) {
        const QString name = namedColorName(i);
        QVERIFY2(name.at(0).isUpper() && name.mid(1) == name.mid(1).toLower(), qPrintable(name));
        // Qt's own table of the SVG keywords is an independent witness.
        const QColor expected = QColor::fromString(name.toLower());
        QVERIFY2(expected.isValid(), qPrintable(name));
        QCOMPARE(QColor::fromRgba(namedColorValue(i)), expected);
        QCOMPARE(qAlpha(namedColorValue(i)), 255);
        if (i > 0)
            QVERIFY2(namedColorName(i - 1).toLower() < name.toLower(), qPrintable(name));
        keywords.append(name.toLower());
    }
    for (const char *name : {"gray", "grey", "darkgray", "darkgrey", "lightslategrey", "dimgray"})
        QVERIFY2(keywords.contains(QLatin1String(name)), name);
    // Every keyword Qt knows, less its "transparent", is in the list.
    QStringList qtNames = QColor::colorNames();
    qtNames.removeAll(QStringLiteral("transparent"));
    QCOMPARE(qtNames.size(), 147);
    for (const QString &name : std::as_const(qtNames))
        QVERIFY2(keywords.contains(name), qPrintable(name));
}

void TestColorTable::lookup_data()
{
    QTest::addColumn<QRgb>("value");
    QTest::addColumn<QString>("name");

    QTest::newRow("first of two: Aqua before Cyan") << QRgb(0xFF00FFFF) << "Aqua";
    QTest::newRow("first of two: Fuchsia before Magenta") << QRgb(0xFFFF00FF) << "Fuchsia";
    QTest::newRow("first of two: Darkgray before Darkgrey") << QRgb(0xFFA9A9A9) << "Darkgray";
    QTest::newRow("black") << QRgb(0xFF000000) << "Black";
    QTest::newRow("transparent black is Null") << QRgb(0x00000000) << "Null";
    QTest::newRow("translucent gold is none") << QRgb(0x80FFD700) << "";
    QTest::newRow("transparent white is none") << QRgb(0x00FFFFFF) << "";
    QTest::newRow("near miss") << QRgb(0xFFFFD701) << "";
}

void TestColorTable::lookup()
{
    QFETCH(QRgb, value);
    QFETCH(QString, name);
    const int index = namedColorIndex(value);
    QCOMPARE(namedColorName(index), name);
    if (index >= 0)
        QCOMPARE(namedColorValue(index), value);
}

void TestColorTable::comboBox()
{
    ColorComboBox box;
    QCOMPARE(box.count(), 148);
    QCOMPARE(box.currentText(), QStringLiteral("Null"));
    QCOMPARE(box.color(), QRgb(0));
    QVERIFY(!box.itemIcon(0).isNull());

    box.setColor(0xFF00FFFF);
    QCOMPARE(box.currentText(), QStringLiteral("Aqua"));
    QCOMPARE(box.color(), QRgb(0xFF00FFFF));
    // A colour of no entry keeps the selection.
    box.setColor(0x12345678);
    QCOMPARE(box.currentText(), QStringLiteral("Aqua"));

    box.setCurrentIndex(-1);
    QCOMPARE(box.color(), QRgb(0));
}

QTEST_MAIN(TestColorTable)
#include "tst_colortable.moc"
