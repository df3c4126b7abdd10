// SPDX-License-Identifier: MIT
#include "core/files/LocaleCodec.h"
#include "core/settings/IniFile.h"
#include "core/settings/SettingsKeys.h"

#include <QLocale>
#include <QTemporaryDir>
#include <QTest>

#include <limits>

class TestSettingsKeys : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void defaultsFromAnEmptyFile();
    void parsesIntegers_data();
    void parsesIntegers();
    void parsesBooleans_data();
    void parsesBooleans();
    void parsesFloats_data();
    void parsesFloats();
    void formatsFloats_data();
    void formatsFloats();
    void writesEveryKeyFromNothing();
    void readsAHandEditedFile();
    void writtenValuesReadBack();
};

void TestSettingsKeys::init()
{
    LocaleCodec::setCharsetForTesting("UTF-8");
    QLocale::setDefault(QLocale::c());
}

void TestSettingsKeys::cleanup()
{
    LocaleCodec::setCharsetForTesting({});
    QLocale::setDefault(QLocale::system());
}

void TestSettingsKeys::defaultsFromAnEmptyFile()
{
    const IniFile none;
    QCOMPARE(readInt(none, Setting::FormTop), 0);
    QCOMPARE(readInt(none, Setting::FormLeft), 670);
    QCOMPARE(readInt(none, Setting::FormWidth), 500);
    QCOMPARE(readInt(none, Setting::FormHeight), 100);
    QCOMPARE(readInt(none, Setting::IconWidth), 48);
    QCOMPARE(readInt(none, Setting::IconGlow), 4);
    QCOMPARE(readInt(none, Setting::IconPadding), 14);
    QCOMPARE(readBool(none, Setting::IconShadow), true);
    QCOMPARE(readBool(none, Setting::HintShow), true);
    QCOMPARE(readBool(none, Setting::ModeStealth), false);
    QCOMPARE(readBool(none, Setting::FormTaskBar), false);
    QCOMPARE(readInt(none, Setting::ColorGlow), int32_t(0xFFFFD700));
    QCOMPARE(readInt(none, Setting::ColorShadow), int32_t(0xFF000000));
    QCOMPARE(readInt(none, Setting::BackColor0), int32_t(0xFFF0F8FF));
    QCOMPARE(readInt(none, Setting::BackColor1), int32_t(0xFF8A2BE2));
    QCOMPARE(readFloat(none, Setting::BackOpa), 0.8);
    QCOMPARE(readString(none, Setting::MenuName0), QStringLiteral("メニュー1"));
    QCOMPARE(readString(none, Setting::MenuName4), QStringLiteral("メニュー5"));
}

void TestSettingsKeys::parsesIntegers_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("expected"); // fallback 4

    QTest::newRow("decimal") << "670" << 670;
    QTest::newRow("negative") << "-10496" << -10496;
    QTest::newRow("plus") << "+7" << 7;
    QTest::newRow("leading blanks") << "  \t7" << 7;
    QTest::newRow("leading zeros") << "007" << 7;
    QTest::newRow("largest") << "2147483647" << std::numeric_limits<int>::max();
    QTest::newRow("smallest") << "-2147483648" << std::numeric_limits<int>::min();
    QTest::newRow("0x") << "0x10" << 16;
    QTest::newRow("0X mixed case") << "0XfF" << 255;
    QTest::newRow("dollar") << "$1f" << 31;
    QTest::newRow("hex pattern is negative") << "0xFFFFD700" << -10496;
    QTest::newRow("all ones") << "0xFFFFFFFF" << -1;
    QTest::newRow("dollar all ones") << "$ffffffff" << -1;
    QTest::newRow("signed hex") << "-0x10" << -16;
    QTest::newRow("eight hex digits") << "$7FFFFFFF" << std::numeric_limits<int>::max();
    QTest::newRow("nine hex digits") << "0x100000000" << 4;
    QTest::newRow("0x alone") << "0x" << 4;
    QTest::newRow("dollar alone") << "$" << 4;
    QTest::newRow("bad hex digit") << "0x1G" << 4;
    QTest::newRow("too large") << "2147483648" << 4;
    QTest::newRow("too small") << "-2147483649" << 4;
    QTest::newRow("far too large") << "99999999999999999999999" << 4;
    QTest::newRow("letters") << "abc" << 4;
    QTest::newRow("empty") << "" << 4;
    QTest::newRow("blanks only") << "  " << 4;
    QTest::newRow("sign only") << "-" << 4;
    QTest::newRow("trailing letters") << "12abc" << 4;
    QTest::newRow("trailing blank") << "12 " << 4;
    QTest::newRow("blank after sign") << "- 5" << 4;
    QTest::newRow("fraction") << "1.5" << 4;
    QTest::newRow("non-ascii digit") << "\u0663" << 4;
}

void TestSettingsKeys::parsesIntegers()
{
    QFETCH(QString, text);
    QFETCH(int, expected);
    QCOMPARE(parseIniInt(text, 4), expected);
}

void TestSettingsKeys::parsesBooleans_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("fallback");
    QTest::addColumn<bool>("expected");

    QTest::newRow("1") << "1" << false << true;
    QTest::newRow("0") << "0" << true << false;
    QTest::newRow("any nonzero") << "-2" << false << true;
    QTest::newRow("hex zero") << "0x0" << true << false;
    QTest::newRow("word") << "true" << false << false;
    QTest::newRow("empty keeps fallback") << "" << true << true;
}

void TestSettingsKeys::parsesBooleans()
{
    QFETCH(QString, text);
    QFETCH(bool, fallback);
    QFETCH(bool, expected);
    QCOMPARE(parseIniBool(text, fallback), expected);
}

void TestSettingsKeys::parsesFloats_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("expected"); // fallback 0.8

    QTest::newRow("point") << "C"
                           << "0.25" << 0.25;
    QTest::newRow("as written") << "C"
                                << "0.800000011920929" << 0.800000011920929;
    QTest::newRow("integer") << "C"
                             << "1" << 1.0;
    QTest::newRow("negative") << "C"
                              << "-1.5" << -1.5;
    QTest::newRow("exponent") << "C"
                              << "1e-05" << 1e-05;
    QTest::newRow("comma where point") << "en_US"
                                       << "0,5" << 0.8;
    QTest::newRow("comma is no group separator") << "en_US"
                                                 << "1,500" << 0.8;
    QTest::newRow("comma locale") << "de_DE"
                                  << "0,25" << 0.25;
    QTest::newRow("point in comma locale") << "de_DE"
                                           << "0.25" << 0.25;
    QTest::newRow("empty") << "C"
                           << "" << 0.8;
    QTest::newRow("letters") << "C"
                             << "abc" << 0.8;
    QTest::newRow("trailing letters") << "C"
                                      << "0.5x" << 0.8;
    QTest::newRow("infinity") << "C"
                              << "inf" << 0.8;
    QTest::newRow("nan") << "C"
                         << "nan" << 0.8;
    QTest::newRow("overflow") << "C"
                              << "1e999" << 0.8;
}

void TestSettingsKeys::parsesFloats()
{
    QFETCH(QString, locale);
    QFETCH(QString, text);
    QFETCH(double, expected);
    QLocale::setDefault(QLocale(locale));
    QCOMPARE(parseIniFloat(text, 0.8), expected);
}

void TestSettingsKeys::formatsFloats_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("expected");

    QTest::newRow("single-precision 0.8") << "C" << double(0.8f) << "0.800000011920929";
    QTest::newRow("comma locale") << "de_DE" << double(0.8f) << "0,800000011920929";
    QTest::newRow("whole") << "C" << 1.0 << "1";
    QTest::newRow("short") << "de_DE" << 0.5 << "0,5";
    QTest::newRow("small") << "C" << 1e-20 << "1e-20";
}

void TestSettingsKeys::formatsFloats()
{
    QFETCH(QString, locale);
    QFETCH(double, value);
    QFETCH(QString, expected);
    QLocale::setDefault(QLocale(locale));
    QCOMPARE(formatIniFloat(value), expected);
    QCOMPARE(parseIniFloat(expected, -1.0), QString::number(value, 'g', 15).toDouble());
}

void TestSettingsKeys::writesEveryKeyFromNothing()
{
    const IniFile none;
    IniFile ini;
    for (const SettingSpec &spec : kSettings) {
        switch (spec.type) {
        case SettingType::Integer:
            writeInt(ini, spec.id, readInt(none, spec.id));
            break;
        case SettingType::Boolean:
            writeBool(ini, spec.id, readBool(none, spec.id));
            break;
        case SettingType::Float:
            // The window holds its opacity in single precision.
            writeFloat(ini, spec.id, float(readFloat(none, spec.id)));
            break;
        case SettingType::String:
            writeString(ini, spec.id, readString(none, spec.id));
            break;
        }
    }

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

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(kSettingsFileName);
    QVERIFY(ini.save(path, nullptr));
    const IniFile reread = IniFile::load(path);
    QCOMPARE(readInt(reread, Setting::ColorGlow), int32_t(0xFFFFD700));
    QCOMPARE(float(readFloat(reread, Setting::BackOpa)), 0.8f);
    QCOMPARE(readString(reread, Setting::MenuName2), QStringLiteral("メニュー3"));
}

void TestSettingsKeys::readsAHandEditedFile()
{
    // Keys of one name in two sections are two settings.
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const IniFile ini = IniFile::fromBytes("[form]\r\n"
                                           " top = -5 \r\n"
                                           "Left=$10\r\n"
                                           "[Mode]\n"
                                           "Top=1\n"
                                           "[Icon]\n"
                                           "Glow=0x10\n"
                                           "Width=abc\n"
                                           "Shadow=0\n"
                                           "[Color]\n"
                                           "Glow=0xFF00FF00\n"
                                           "[Back]\n"
                                           "Opa=0,5\n"
                                           "Gradient=2\n"
                                           "[Menu]\n"
                                           "Name0= \"  Arbeit  \" \n");
    QCOMPARE(readInt(ini, Setting::FormTop), -5);
    QCOMPARE(readBool(ini, Setting::ModeTop), true);
    QCOMPARE(readInt(ini, Setting::FormLeft), 16);
    QCOMPARE(readInt(ini, Setting::IconGlow), 16);
    QCOMPARE(readInt(ini, Setting::ColorGlow), int32_t(0xFF00FF00));
    QCOMPARE(readInt(ini, Setting::IconWidth), 48);
    QCOMPARE(readBool(ini, Setting::IconShadow), false);
    QCOMPARE(readInt(ini, Setting::ColorShadow), int32_t(0xFF000000));
    QCOMPARE(readFloat(ini, Setting::BackOpa), 0.5);
    QCOMPARE(readBool(ini, Setting::BackGradient), true);
    QCOMPARE(readString(ini, Setting::MenuName0), QStringLiteral("  Arbeit  "));
    QCOMPARE(readString(ini, Setting::MenuName1), QStringLiteral("メニュー2"));
}

void TestSettingsKeys::writtenValuesReadBack()
{
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    IniFile ini = IniFile::fromBytes("[Icon]\r\nGlow=1\r\n[Color]\r\nGlow=1\r\n");
    writeInt(ini, Setting::ColorGlow, int32_t(0xFF00FF00));
    writeFloat(ini, Setting::BackOpa, 0.25);
    writeBool(ini, Setting::ModeTop, true);
    writeString(ini, Setting::MenuName3, QStringLiteral("ツール"));
    QCOMPARE(ini.toBytes(), QByteArray("[Icon]\r\nGlow=1\r\n[Color]\r\nGlow=-16711936\r\n"
                                       "[Back]\r\nOpa=0,25\r\n"
                                       "[Mode]\r\nTop=1\r\n"
                                       "[Menu]\r\nName3=ツール\r\n"));
    QCOMPARE(readInt(ini, Setting::IconGlow), 1);
    QCOMPARE(readInt(ini, Setting::ColorGlow), int32_t(0xFF00FF00));
    QCOMPARE(readFloat(ini, Setting::BackOpa), 0.25);
    QCOMPARE(readBool(ini, Setting::ModeTop), true);
    QCOMPARE(readString(ini, Setting::MenuName3), QStringLiteral("ツール"));
}

QTEST_GUILESS_MAIN(TestSettingsKeys)
#include "tst_settingskeys.moc"
