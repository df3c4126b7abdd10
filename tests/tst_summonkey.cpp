// SPDX-License-Identifier: MIT
// The summoning key as a setting: which combinations it takes, and that it
// stays out of a settings file until the user chooses something else.
#include "core/files/LocaleCodec.h"
#include "core/settings/BarSettings.h"
#include "core/settings/IniFile.h"
#include "core/settings/SummonKey.h"

#include <QTest>

using namespace Qt::StringLiterals;

class TestSummonKey : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { LocaleCodec::setCharsetForTesting("UTF-8"); }
    void cleanup() { LocaleCodec::setCharsetForTesting({}); }

    void parse_data();
    void parse();
    void storage_data();
    void storage();
};

void TestSummonKey::parse_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<QString>("written"); // as toString() gives it back

    QTest::newRow("default") << u"Ctrl+Alt+Space"_s << true << u"Ctrl+Alt+Space"_s;
    QTest::newRow("any case and blanks") << u"  ctrl+alt+space "_s << true << u"Ctrl+Alt+Space"_s;
    QTest::newRow("Super") << u"Meta+`"_s << true << u"Meta+`"_s;
    QTest::newRow("Shift adds to Ctrl") << u"Ctrl+Shift+F9"_s << true << u"Ctrl+Shift+F9"_s;
    QTest::newRow("a key that types nothing") << u"F13"_s << true << u"F13"_s;
    QTest::newRow("Pause alone") << u"Pause"_s << true << u"Pause"_s;
    QTest::newRow("empty is off") << u""_s << true << u""_s;
    // Taken from every window, these would stop the user typing them.
    QTest::newRow("a letter") << u"A"_s << false << QString();
    QTest::newRow("Shift and a letter") << u"Shift+A"_s << false << QString();
    QTest::newRow("F1 alone") << u"F1"_s << false << QString();
    QTest::newRow("a modifier alone") << u"Ctrl+Alt"_s << false << QString();
    QTest::newRow("two presses") << u"Ctrl+K, Ctrl+L"_s << false << QString();
    QTest::newRow("not a key") << u"Ctrl+Alt+Nonsense"_s << false << QString();
}

void TestSummonKey::parse()
{
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QFETCH(QString, written);
    const std::optional<SummonKey> key = SummonKey::parse(text);
    QCOMPARE(key.has_value(), valid);
    if (!key)
        return;
    QCOMPARE(key->toString(), written);
    QCOMPARE(key->isOn(), !written.isEmpty());
    QCOMPARE(SummonKey::parse(key->toString()), key);
}

void TestSummonKey::storage_data()
{
    QTest::addColumn<QByteArray>("before"); // the settings file
    QTest::addColumn<QString>("chosen");    // what the user chose, as SummonKey::parse reads it
    QTest::addColumn<QString>("read");      // what the file gave
    QTest::addColumn<QByteArray>("after");  // the file once written

    const QByteArray other = "[Mode]\r\nTop=1\r\n";
    QTest::newRow("default, never chosen: nothing written")
        << other << u"Ctrl+Alt+Space"_s << u"Ctrl+Alt+Space"_s << other;
    QTest::newRow("another key: a section of its own")
        << other << u"Meta+F2"_s << u"Ctrl+Alt+Space"_s << other + "[Keys]\r\nSummon=Meta+F2\r\n";
    QTest::newRow("off: an empty value") << other << u""_s << u"Ctrl+Alt+Space"_s << other + "[Keys]\r\nSummon=\r\n";
    QTest::newRow("back to the default: the line stays, with it")
        << QByteArray("[Keys]\r\nSummon=Meta+F2\r\n") << u"Ctrl+Alt+Space"_s << u"Meta+F2"_s
        << QByteArray("[Keys]\r\nSummon=Ctrl+Alt+Space\r\n");
    QTest::newRow("off, read back") << QByteArray("[keys]\nsummon=\n") << u""_s << u""_s
                                    << QByteArray("[keys]\nsummon=\n");
    QTest::newRow("hand-written nonsense reads as the default")
        << QByteArray("[Keys]\r\nSummon=Q\r\n") << u"Ctrl+Alt+Space"_s << u"Ctrl+Alt+Space"_s
        << QByteArray("[Keys]\r\nSummon=Ctrl+Alt+Space\r\n");
}

void TestSummonKey::storage()
{
    QFETCH(QByteArray, before);
    QFETCH(QString, chosen);
    QFETCH(QString, read);
    QFETCH(QByteArray, after);
    IniFile ini = IniFile::fromBytes(before);
    QCOMPARE(SummonKey::read(ini).toString(), read);
    // Through the bar's whole settings value, as the bar reads and writes it.
    QCOMPARE(BarSettings::read(ini).summonKey.toString(), read);
    SummonKey::parse(chosen).value().write(ini);
    QCOMPARE(ini.toBytes(), after);
}

QTEST_GUILESS_MAIN(TestSummonKey)
#include "tst_summonkey.moc"
