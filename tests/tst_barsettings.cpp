// SPDX-License-Identifier: MIT
#include "core/files/LocaleCodec.h"
#include "core/settings/BarSettings.h"
#include "core/settings/IniFile.h"
#include "core/settings/SettingsKeys.h"

#include <QLocale>
#include <QTest>

using namespace Qt::StringLiterals;

class TestBarSettings : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void defaultsWrittenInTableOrder();
    void writtenValueReadsBack_data();
    void writtenValueReadsBack();
    void readingKeepsInRange_data();
    void readingKeepsInRange();
};

void TestBarSettings::init()
{
    LocaleCodec::setCharsetForTesting("UTF-8");
    QLocale::setDefault(QLocale::c());
}

void TestBarSettings::cleanup()
{
    LocaleCodec::setCharsetForTesting({});
    QLocale::setDefault(QLocale::system());
}

void TestBarSettings::defaultsWrittenInTableOrder()
{
    // The window's place is the bar's to write, and comes first.
    IniFile ini;
    for (Setting id : {Setting::FormTop, Setting::FormLeft, Setting::FormHeight, Setting::FormWidth})
        writeInt(ini, id, readInt(IniFile(), id));
    BarSettings::read(IniFile()).write(ini, 0);
    QCOMPARE(ini.toBytes(), QByteArray("[Form]\r\nTop=0\r\nLeft=670\r\nHeight=100\r\nWidth=500\r\n"
                                       "TaskBar=0\r\n"
                                       "[Icon]\r\nWidth=48\r\nCorner=4\r\nGapH=2\r\nGapV=2\r\n"
                                       "Shadow=1\r\nGlow=4\r\nPadding=14\r\n"
                                       "[Hint]\r\nShow=1\r\n"
                                       "[Mode]\r\nStealth=0\r\nTop=0\r\n"
                                       "[Menu]\r\nIndex=0\r\nName0=メニュー1\r\nName1=メニュー2\r\n"
                                       "Name2=メニュー3\r\nName3=メニュー4\r\nName4=メニュー5\r\n"
                                       "[Color]\r\nGlow=-10496\r\nShadow=-16777216\r\n"
                                       "[Back]\r\nOpa=0.800000011920929\r\nColor0=-984833\r\n"
                                       "Color1=-7722014\r\nGradient=0\r\nDirection=0\r\n"));
}

void TestBarSettings::writtenValueReadsBack_data()
{
    QTest::addColumn<QString>("locale");
    QTest::newRow("point") << u"C"_s;
    QTest::newRow("comma") << u"de_DE"_s;
}

void TestBarSettings::writtenValueReadsBack()
{
    QFETCH(QString, locale);
    QLocale::setDefault(QLocale(locale));

    // Every field away from its default, a hover effect no radio shows and
    // names a menu would not show as they are included.
    BarSettings s;
    s.bw2 = 36;
    s.bc2 = 9;
    s.pad = 7;
    s.GlowNo = 6;
    s.GlowColor = 0x80FFD700;
    s.FShowhint = false;
    s.isStealth = true;
    s.isTop = true;
    s.isShowTaskBar = true;
    s.color0 = 0x80102030;
    s.color1 = 0x00FFFFFF;
    s.isGradient = true;
    s.Direction = 2;
    s.horizontalGap = -3;
    s.verticalGap = 70;
    s.shadowEnabled = false;
    s.shadowColor = 0xFF000080;
    s.opacity = 0.3f;
    s.groupNames = {QString(), u"A&B"_s, u"a\tb"_s, u"グループ"_s, u"x,y"_s};

    IniFile ini = IniFile::fromBytes("[Menu]\r\nIndex=3\r\n");
    s.write(ini, 2);
    QCOMPARE(readInt(ini, Setting::MenuIndex), 2);
    QCOMPARE(BarSettings::read(ini), s);
}

void TestBarSettings::readingKeepsInRange_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("corner");
    QTest::addColumn<int>("gapH");
    QTest::addColumn<int>("gapV");
    QTest::addColumn<float>("opacity");

    // Gaps are held to what the layout can reckon with, not to the
    // dialog's boxes.
    QTest::newRow("in range") << QByteArray("[Icon]\nWidth=40\nCorner=6\nGapH=-3\nGapV=70\n[Back]\nOpa=0.5\n") << 40
                              << 6 << -3 << 70 << 0.5f;
    QTest::newRow("above") << QByteArray("[Icon]\nWidth=150\nCorner=200\nGapH=20000\nGapV=2147483647\n"
                                         "[Back]\nOpa=1.5\n")
                           << 100 << 100 << 10000 << 10000 << 1.0f;
    QTest::newRow("below") << QByteArray("[Icon]\nWidth=10\nCorner=-5\nGapH=-20000\nGapV=-2147483648\n"
                                         "[Back]\nOpa=-0.5\n")
                           << 16 << 0 << -10000 << -10000 << 0.0f;
    QTest::newRow("opacity beyond a float") << QByteArray("[Back]\nOpa=1e300\n") << 48 << 4 << 2 << 2 << 1.0f;
    QTest::newRow("opacity below a float") << QByteArray("[Back]\nOpa=-1e300\n") << 48 << 4 << 2 << 2 << 0.0f;
}

void TestBarSettings::readingKeepsInRange()
{
    QFETCH(QByteArray, file);
    QFETCH(int, width);
    QFETCH(int, corner);
    QFETCH(int, gapH);
    QFETCH(int, gapV);
    QFETCH(float, opacity);

    const BarSettings s = BarSettings::read(IniFile::fromBytes(file));
    QCOMPARE(s.bw2, width);
    QCOMPARE(s.bc2, corner);
    QCOMPARE(s.horizontalGap, gapH);
    QCOMPARE(s.verticalGap, gapV);
    QCOMPARE(s.opacity, opacity);
    // What was read is written as it reads: a second reading changes nothing.
    IniFile ini;
    s.write(ini, 0);
    QCOMPARE(BarSettings::read(ini), s);
}

QTEST_GUILESS_MAIN(TestBarSettings)
#include "tst_barsettings.moc"
