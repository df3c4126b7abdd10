// SPDX-License-Identifier: MIT
#include "core/files/LocaleCodec.h"
#include "core/settings/IniFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

QByteArray utf16LE(QStringView text)
{
    QByteArray bytes;
    for (const QChar c : text) {
        bytes.append(char(c.unicode() & 0xFF));
        bytes.append(char(c.unicode() >> 8));
    }
    return bytes;
}

} // namespace

class TestIniFile : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { LocaleCodec::setCharsetForTesting("UTF-8"); }
    void cleanup() { LocaleCodec::setCharsetForTesting({}); }

    void readsHandEditedFiles_data();
    void readsHandEditedFiles();
    void keepsEveryByteWhenNothingChanges_data();
    void keepsEveryByteWhenNothingChanges();
    void writes_data();
    void writes();
    void keepsUnknownLinesByteForByte();
    void utf16FileStaysUtf16();
    void utf8BomIsKept();
    void unencodableTextTurnsFileToUtf16();
    void valueInAnotherCharset_data();
    void valueInAnotherCharset();
    void undecodableLineKeepsFileEncoding();
    void valueWithLineBreakStaysOneLine();
    void savesAndLoads();
    void saveFailureLeavesNoFile();
};

void TestIniFile::readsHandEditedFiles_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("expected"); // null: no such key

    QTest::newRow("crlf") << QByteArray("[A]\r\nk=1\r\nj=2\r\n") << "A"
                          << "j"
                          << "2";
    QTest::newRow("lf") << QByteArray("[A]\nk=1\nj=2\n") << "A"
                        << "j"
                        << "2";
    QTest::newRow("lone cr") << QByteArray("[A]\rk=1\rj=2") << "A"
                             << "j"
                             << "2";
    QTest::newRow("mixed breaks") << QByteArray("[A]\r\n\rk=1\n\r\nj=2") << "A"
                                  << "j"
                                  << "2";
    QTest::newRow("names ignore case") << QByteArray("[fORM]\nTOP=5\n") << "Form"
                                       << "top"
                                       << "5";
    QTest::newRow("blanks and tabs around") << QByteArray(" \t[ \tA\t ] \n\t k \t=\t 1 2 \t\n") << "A"
                                            << "k"
                                            << "1 2";
    QTest::newRow("double quotes") << QByteArray("[A]\nk=\" x \"\n") << "A"
                                   << "k"
                                   << " x ";
    QTest::newRow("single quotes") << QByteArray("[A]\nk='x'\n") << "A"
                                   << "k"
                                   << "x";
    QTest::newRow("unmatched quotes kept") << QByteArray("[A]\nk='x\"\n") << "A"
                                           << "k"
                                           << "'x\"";
    QTest::newRow("lone quote kept") << QByteArray("[A]\nk=\"\n") << "A"
                                     << "k"
                                     << "\"";
    QTest::newRow("empty value") << QByteArray("[A]\nk=\n") << "A"
                                 << "k"
                                 << "";
    QTest::newRow("equals in value") << QByteArray("[A]\nk=a=b\n") << "A"
                                     << "k"
                                     << "a=b";
    QTest::newRow("value cut") << QByteArray("[A]\nk=" + QByteArray(3000, 'v') + "\n") << "A"
                               << "k" << QString(2047, u'v');
    QTest::newRow("quoted value cut") << QByteArray("[A]\nk=\"" + QByteArray(2047, 'v') + "w\"\n") << "A"
                                      << "k" << QString(2047, u'v');
    QTest::newRow("first section of a name") << QByteArray("[A]\nk=1\n[B]\n[a]\nk=2\nj=3\n") << "A"
                                             << "k"
                                             << "1";
    QTest::newRow("later section of a name unseen") << QByteArray("[A]\nk=1\n[a]\nj=3\n") << "A"
                                                    << "j" << QString();
    QTest::newRow("first key of a name") << QByteArray("[A]\nk=1\nK=2\n") << "A"
                                         << "k"
                                         << "1";
    QTest::newRow("line without equals") << QByteArray("[A]\nk\n") << "A"
                                         << "k" << QString();
    QTest::newRow("comment") << QByteArray("[A]\n;k=1\n") << "A"
                             << ";k" << QString();
    QTest::newRow("key before any section") << QByteArray("k=1\n[A]\n") << "A"
                                            << "k" << QString();
    QTest::newRow("key of the next section") << QByteArray("[A]\n[B]\nk=1\n") << "A"
                                             << "k" << QString();
    QTest::newRow("bracket without close is no section") << QByteArray("[A]\n[B\nk=1\n") << "A"
                                                         << "k"
                                                         << "1";
    QTest::newRow("missing section") << QByteArray("[A]\nk=1\n") << "B"
                                     << "k" << QString();
    QTest::newRow("utf-8 bom") << QByteArray("\xEF\xBB\xBF[A]\nk=1\n") << "A"
                               << "k"
                               << "1";
    QTest::newRow("utf-8 text") << QByteArray("[メニュー]\n名前=値\n") << "メニュー"
                                << "名前"
                                << "値";
    QTest::newRow("utf-16le") << QByteArray("\xFF\xFE" + utf16LE(u"[A]\r\nk=値\r\n")) << "A"
                              << "k"
                              << "値";
    QTest::newRow("empty file") << QByteArray() << "A"
                                << "k" << QString();
}

void TestIniFile::readsHandEditedFiles()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, expected);

    const std::optional<QString> value = IniFile::fromBytes(file).value(section, key);
    QCOMPARE(value.has_value(), !expected.isNull());
    if (value)
        QCOMPARE(*value, expected);
}

void TestIniFile::keepsEveryByteWhenNothingChanges_data()
{
    QTest::addColumn<QByteArray>("file");

    QTest::newRow("empty") << QByteArray();
    QTest::newRow("no final break") << QByteArray("[A]\r\nk=1");
    QTest::newRow("mixed breaks") << QByteArray("\r\r\n\n[A]\rk=1\n\r\n");
    QTest::newRow("invalid utf-8") << QByteArray("[A]\nk=\xC3\x28\xFF\n\xFE\xFE\n");
    QTest::newRow("nul bytes") << QByteArray("[A]\nk=1\0\0\n", 11);
    QTest::newRow("utf-8 bom") << QByteArray("\xEF\xBB\xBF[A]\nk=1\n");
    QTest::newRow("utf-16le odd tail") << QByteArray("\xFF\xFE" + utf16LE(u"[A]\r\nk=1\n") + "\x41");
    QTest::newRow("utf-16le lone surrogate")
        << QByteArray("\xFF\xFE" + utf16LE(u"[A]\r\nk=") + QByteArray("\x00\xD8", 2) + utf16LE(u"\r\n"));
    QTest::newRow("utf-16le bom only") << QByteArray("\xFF\xFE");
    QTest::newRow("utf-16le bom and one byte") << QByteArray("\xFF\xFE\x5B");
}

void TestIniFile::keepsEveryByteWhenNothingChanges()
{
    QFETCH(QByteArray, file);

    IniFile ini = IniFile::fromBytes(file);
    QCOMPARE(ini.toBytes(), file);
    // Writing back what was read must not touch the file either.
    if (const std::optional<QString> k = ini.value(u"A", u"k"))
        ini.setValue("A", "k", *k);
    QCOMPARE(ini.toBytes(), file);
}

void TestIniFile::writes_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QByteArray>("after");

    QTest::newRow("from nothing") << QByteArray() << "Form"
                                  << "Top"
                                  << "0" << QByteArray("[Form]\r\nTop=0\r\n");
    QTest::newRow("changed line keeps spelling and break") << QByteArray("[Form]\n  tOP = 5 \nLeft=1") << "Form"
                                                           << "Top"
                                                           << "7" << QByteArray("[Form]\ntOP=7\nLeft=1");
    QTest::newRow("changed last line without break") << QByteArray("[Form]\nTop=5") << "form"
                                                     << "top"
                                                     << "7" << QByteArray("[Form]\nTop=7");
    QTest::newRow("equal value keeps quotes and blanks") << QByteArray("[Form]\n Top = \"5\" \n") << "Form"
                                                         << "Top"
                                                         << "5" << QByteArray("[Form]\n Top = \"5\" \n");
    QTest::newRow("only the first key of a name") << QByteArray("[A]\nk=1\nk=2\n") << "A"
                                                  << "k"
                                                  << "3" << QByteArray("[A]\nk=3\nk=2\n");
    QTest::newRow("only the first section of a name") << QByteArray("[A]\nk=1\n[A]\nk=2\n") << "A"
                                                      << "k"
                                                      << "3" << QByteArray("[A]\nk=3\n[A]\nk=2\n");
    QTest::newRow("missing key after last non-blank line")
        << QByteArray("[A]\r\nk=1\r\n; note\r\n\r\n \t\r\n[B]\r\n") << "A"
        << "j"
        << "2" << QByteArray("[A]\r\nk=1\r\n; note\r\nj=2\r\n\r\n \t\r\n[B]\r\n");
    QTest::newRow("missing key in empty section") << QByteArray("[A]\n\n[B]\n") << "A"
                                                  << "j"
                                                  << "2" << QByteArray("[A]\nj=2\r\n\n[B]\n");
    QTest::newRow("missing key into first of two sections") << QByteArray("[A]\nk=1\n[A]\n") << "a"
                                                            << "j"
                                                            << "2" << QByteArray("[A]\nk=1\nj=2\r\n[A]\n");
    QTest::newRow("missing key at end without break") << QByteArray("[A]\nk=1") << "A"
                                                      << "j"
                                                      << "2" << QByteArray("[A]\nk=1\r\nj=2\r\n");
    QTest::newRow("missing section after break") << QByteArray("[A]\nk=1\n") << "B"
                                                 << "j"
                                                 << "2" << QByteArray("[A]\nk=1\n[B]\r\nj=2\r\n");
    QTest::newRow("missing section without break") << QByteArray("x") << "B"
                                                   << "j"
                                                   << "2" << QByteArray("x\r\n[B]\r\nj=2\r\n");
    QTest::newRow("missing section after blank lines") << QByteArray("[A]\r\n\r\n") << "B"
                                                       << "j"
                                                       << "2" << QByteArray("[A]\r\n\r\n[B]\r\nj=2\r\n");
    QTest::newRow("key before any section is not replaced") << QByteArray("j=1\n[B]\n") << "B"
                                                            << "j"
                                                            << "2" << QByteArray("j=1\n[B]\nj=2\r\n");
}

void TestIniFile::writes()
{
    QFETCH(QByteArray, before);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, value);
    QFETCH(QByteArray, after);

    IniFile ini = IniFile::fromBytes(before);
    ini.setValue(section, key, value);
    QCOMPARE(ini.toBytes(), after);
    QCOMPARE(IniFile::fromBytes(after).value(section, key).value_or(QString()), value);
}

void TestIniFile::keepsUnknownLinesByteForByte()
{
    const QByteArray before = "; settings\r\n"
                              "[Form]\r\n"
                              "Top=5\n"
                              "Colour = blue ; mine\r"
                              "garbage \xFF\xC3 line\r\n"
                              "\r\n"
                              "[Mine]\r\n"
                              "Top=9\r\n";
    IniFile ini = IniFile::fromBytes(before);
    ini.setValue("Form", "Top", "0");
    ini.setValue("Form", "Left", "670");
    ini.setValue("Icon", "Width", "48");
    QCOMPARE(ini.toBytes(), QByteArray("; settings\r\n"
                                       "[Form]\r\n"
                                       "Top=0\n"
                                       "Colour = blue ; mine\r"
                                       "garbage \xFF\xC3 line\r\n"
                                       "Left=670\r\n"
                                       "\r\n"
                                       "[Mine]\r\n"
                                       "Top=9\r\n"
                                       "[Icon]\r\n"
                                       "Width=48\r\n"));
}

void TestIniFile::utf16FileStaysUtf16()
{
    // The odd byte at the end stays the last byte so every line stays aligned.
    const QByteArray before = "\xFF\xFE" + utf16LE(u"[A]\r\nk=1\r\n; 注\nz=名") + "\x7F";
    IniFile ini = IniFile::fromBytes(before);
    QCOMPARE(ini.encoding(), IniFile::Encoding::Utf16LE);
    QCOMPARE(ini.value(u"a", u"z").value_or(QString()), QStringLiteral("名"));

    ini.setValue("A", "k", "メニュー");
    ini.setValue("A", "j", "2");
    ini.setValue("B", "x", "3");
    QCOMPARE(ini.toBytes(), "\xFF\xFE" + utf16LE(u"[A]\r\nk=メニュー\r\n; 注\nz=名\r\nj=2\r\n[B]\r\nx=3\r\n") + "\x7F");
    QCOMPARE(IniFile::fromBytes(ini.toBytes()).value(u"A", u"k").value_or(QString()), QStringLiteral("メニュー"));
}

void TestIniFile::utf8BomIsKept()
{
    IniFile ini = IniFile::fromBytes("\xEF\xBB\xBF[A]\r\nk=1\r\n");
    ini.setValue("A", "k", "名");
    QCOMPARE(ini.toBytes(), QByteArray("\xEF\xBB\xBF[A]\r\nk=名\r\n"));
}

void TestIniFile::unencodableTextTurnsFileToUtf16()
{
    LocaleCodec::setCharsetForTesting("ISO-8859-1");
    IniFile ini = IniFile::fromBytes("[A]\nk=caf\xE9\r\n\r\n[B]\rx=1");
    QCOMPARE(ini.value(u"A", u"k").value_or(QString()), QStringLiteral("café"));

    ini.setValue("A", "j", "\u00FC");
    QCOMPARE(ini.encoding(), IniFile::Encoding::Locale);
    QCOMPARE(ini.toBytes(), QByteArray("[A]\nk=caf\xE9\r\nj=\xFC\r\n\r\n[B]\rx=1"));

    ini.setValue("B", "x", "メニュー");
    QCOMPARE(ini.encoding(), IniFile::Encoding::Utf16LE);
    const QByteArray after = ini.toBytes();
    QCOMPARE(after, "\xFF\xFE" + utf16LE(u"[A]\nk=café\r\nj=ü\r\n\r\n[B]\rx=メニュー"));

    const IniFile reread = IniFile::fromBytes(after);
    QCOMPARE(reread.value(u"A", u"k").value_or(QString()), QStringLiteral("café"));
    QCOMPARE(reread.value(u"B", u"x").value_or(QString()), QStringLiteral("メニュー"));

    // A new section's header is written in the file's new form too.
    IniFile fresh = IniFile::fromBytes("[A]\nk=1\n");
    fresh.setValue("B", "x", "メニュー");
    QCOMPARE(fresh.toBytes(), "\xFF\xFE" + utf16LE(u"[A]\nk=1\n[B]\r\nx=メニュー\r\n"));
}

void TestIniFile::valueInAnotherCharset_data()
{
    QTest::addColumn<QByteArray>("charset");
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("expected"); // null: bytes that did not decode, no value
    QTest::addColumn<QString>("written");  // what the launcher writes back: the default or the value read

    // メニュー in Shift_JIS.
    QTest::newRow("Shift_JIS under UTF-8")
        << QByteArray("UTF-8") << QByteArray("[Menu]\r\nName0=\x83\x81\x83\x6A\x83\x85\x81\x5B\r\n") << "Menu"
        << "Name0" << QString() << u"メニュー1"_s;
    QTest::newRow("UTF-8 under Shift_JIS")
        << QByteArray("SHIFT_JIS") << QByteArray("[Menu]\r\nName0=\xE3\x83\x86\xE3\x82\xB9\xE3\x83\x88\r\n") << "Menu"
        << "Name0" << u"テスト"_s << u"テスト"_s;
    QTest::newRow("UTF-8 under EUC-JP") << QByteArray("EUC-JP")
                                        << QByteArray("[Menu]\r\nName0=\xE5\x86\x99\xE7\x9C\x9F\r\n") << "Menu"
                                        << "Name0" << u"写真"_s << u"写真"_s;
    QTest::newRow("valid in neither, EUC-JP") << QByteArray("EUC-JP") << QByteArray("[Menu]\nName0=a\xFF\n") << "Menu"
                                              << "Name0" << QString() << u"メニュー1"_s;
    QTest::newRow("an integer in neither") << QByteArray("UTF-8") << QByteArray("[Icon]\r\nGlow=4\xFF\r\n") << "Icon"
                                           << "Glow" << QString() << u"4"_s;
    QTest::newRow("invalid after a UTF-8 mark")
        << QByteArray("SHIFT_JIS") << QByteArray("\xEF\xBB\xBF[Menu]\r\nName0=\x83\x81\r\n") << "Menu"
        << "Name0" << QString() << u"メニュー1"_s;
}

void TestIniFile::valueInAnotherCharset()
{
    QFETCH(QByteArray, charset);
    QFETCH(QByteArray, file);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, expected);
    QFETCH(QString, written);
    LocaleCodec::setCharsetForTesting(charset);

    IniFile ini = IniFile::fromBytes(file);
    QCOMPARE(ini.value(section, key).value_or(QString()), expected);
    ini.setValue(section, key, written);
    QCOMPARE(ini.toBytes(), file);
}

void TestIniFile::undecodableLineKeepsFileEncoding()
{
    LocaleCodec::setCharsetForTesting("SHIFT_JIS");
    const QByteArray before = "[Menu]\r\nName0=\xFF\r\nName1=x\r\n";
    IniFile ini = IniFile::fromBytes(before);

    // No Shift_JIS form: turning the file to UTF-16LE would lose Name0's bytes.
    ini.setValue("Menu", "Name1", u"😀"_s);
    ini.setValue("Menu", "Name2", u"😀"_s);
    ini.setValue("Back", "Opa", u"😀"_s);
    QCOMPARE(ini.encoding(), IniFile::Encoding::Locale);
    QCOMPARE(ini.toBytes(), before);

    ini.setValue("Menu", "Name1", u"メモ"_s);
    QCOMPARE(ini.toBytes(), QByteArray("[Menu]\r\nName0=\xFF\r\nName1=\x83\x81\x83\x82\r\n"));
}

void TestIniFile::valueWithLineBreakStaysOneLine()
{
    IniFile ini;
    ini.setValue("A", "k", "1\r\n[B]\nx=2");
    QVERIFY(!ini.value(u"B", u"x"));
    QCOMPARE(ini.toBytes(), QByteArray("[A]\r\nk=1  [B] x=2\r\n"));
}

void TestIniFile::savesAndLoads()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath("Quillbrook.ini");

    const IniFile missing = IniFile::load(path);
    QCOMPARE(missing.toBytes(), QByteArray());
    QVERIFY(!QFile::exists(path)); // reading creates nothing

    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("[A]\nk=1\n");
    file.close();

    IniFile ini = IniFile::load(path);
    ini.setValue("A", "k", "2");
    QString error;
    QVERIFY(ini.save(path, &error));
    QCOMPARE(IniFile::load(path).toBytes(), QByteArray("[A]\nk=2\n"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"Quillbrook.ini"});
}

void TestIniFile::saveFailureLeavesNoFile()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath("missing/Quillbrook.ini");

    IniFile ini;
    ini.setValue("A", "k", "1");
    QString error;
    QVERIFY(!ini.save(path, &error));
    QVERIFY(!error.isEmpty());
    QVERIFY(!QFile::exists(path));
}

QTEST_GUILESS_MAIN(TestIniFile)
#include "tst_inifile.moc"
