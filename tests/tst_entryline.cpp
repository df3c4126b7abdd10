// SPDX-License-Identifier: MIT
#include "core/entries/EntryLine.h"

#include <QTest>

class TestEntryLine : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void split_data();
    void split();
    void joinPlainFieldsAsTheyAre();
    void quotedRoundTrip_data();
    void quotedRoundTrip();
    void recFromFields_data();
    void recFromFields();
};

void TestEntryLine::split_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QStringList>("fields");

    QTest::newRow("empty line") << "" << QStringList{};
    QTest::newRow("path, empty, hint") << "/usr/bin/a,,Tool" << QStringList{"/usr/bin/a", "", "Tool"};
    QTest::newRow("two trailing commas") << "/usr/bin/a,," << QStringList{"/usr/bin/a", "", ""};
    QTest::newRow("path only") << "/usr/bin/a" << QStringList{"/usr/bin/a"};
    QTest::newRow("four fields") << "/usr/bin/a,-x,-y,Tool" << QStringList{"/usr/bin/a", "-x", "-y", "Tool"};
    QTest::newRow("lone comma") << "," << QStringList{"", ""};
    QTest::newRow("spaces kept") << " a , b " << QStringList{" a ", " b "};
    QTest::newRow("quote inside unquoted field") << "a,b\"c\",d" << QStringList{"a", "b\"c\"", "d"};

    QTest::newRow("quoted comma") << "/a,\"x,y\",Tool" << QStringList{"/a", "x,y", "Tool"};
    QTest::newRow("quoted path") << "/a,\"/home/u/my file.txt\",Tool"
                                 << QStringList{"/a", "/home/u/my file.txt", "Tool"};
    QTest::newRow("unclosed quote takes the rest") << "/a,\"x,y,Tool" << QStringList{"/a", "x,y,Tool"};
    QTest::newRow("two quoted words") << "/a,\"x\" \"y\",Tool" << QStringList{"/a", "x", " \"y\"", "Tool"};
    QTest::newRow("doubled quotes") << "\"say \"\"hi\"\"\",b" << QStringList{"say \"hi\"", "b"};
    QTest::newRow("empty quoted field") << "\"\",b" << QStringList{"", "b"};
    QTest::newRow("lone quote") << "\"" << QStringList{""};
    QTest::newRow("doubled quote then end") << "\"a\"\"" << QStringList{"a\""};
    QTest::newRow("doubled quote hides comma") << "\"a\"\",b" << QStringList{"a\",b"};
    QTest::newRow("quoted then trailing comma") << "\"a\"," << QStringList{"a", ""};
    QTest::newRow("text right after closing quote") << "\"a\"b,c" << QStringList{"a", "b", "c"};
}

void TestEntryLine::split()
{
    QFETCH(QString, line);
    QFETCH(QStringList, fields);
    QCOMPARE(splitEntryLine(line), fields);
}

void TestEntryLine::joinPlainFieldsAsTheyAre()
{
    QCOMPARE(joinEntryLine({"/usr/bin/a", "", ""}), QString("/usr/bin/a,,"));
    QCOMPARE(joinEntryLine({"/usr/bin/a", "-x \"b\"", " Tool "}), QString("/usr/bin/a,-x \"b\", Tool "));
    QCOMPARE(joinEntryLine({"/a", "x,y", "\"q"}), QString("/a,\"x,y\",\"\"\"q\""));
}

void TestEntryLine::quotedRoundTrip_data()
{
    QTest::addColumn<QString>("fname");
    QTest::addColumn<QString>("param");
    QTest::addColumn<QString>("hint");

    QTest::newRow("all empty") << ""
                               << ""
                               << "";
    QTest::newRow("commas everywhere") << "/home/u/a,b.txt"
                                       << "-x,-y"
                                       << "one, two";
    QTest::newRow("only commas") << ","
                                 << ",,"
                                 << ",";
    QTest::newRow("quoted path parameter") << "/usr/bin/ed"
                                           << "\"/home/u/my file.txt\""
                                           << "Ed";
    QTest::newRow("lone quote") << "\""
                                << "\""
                                << "\"";
    QTest::newRow("leading quote with comma") << "/a"
                                              << "\"x\",\"y\""
                                              << "\"";
    QTest::newRow("inner quotes stay plain") << "/a\"b"
                                             << "x \"y\""
                                             << "h\"";
    QTest::newRow("spaces") << " /a "
                            << "  "
                            << " h ";
    QTest::newRow("trailing comma in hint") << "/a"
                                            << ""
                                            << "h,";
}

void TestEntryLine::quotedRoundTrip()
{
    QFETCH(QString, fname);
    QFETCH(QString, param);
    QFETCH(QString, hint);
    QCOMPARE(splitEntryLine(joinEntryLine({fname, param, hint})), (QStringList{fname, param, hint}));
}

void TestEntryLine::recFromFields_data()
{
    QTest::addColumn<QStringList>("fields");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<QString>("fname");
    QTest::addColumn<QString>("param");
    QTest::addColumn<QString>("hint");

    QTest::newRow("none") << QStringList{} << false << ""
                          << ""
                          << "";
    QTest::newRow("one") << QStringList{"/a"} << true << "/a"
                         << ""
                         << "";
    QTest::newRow("two") << QStringList{"/a", "-x"} << true << "/a"
                         << "-x"
                         << "";
    QTest::newRow("three") << QStringList{"/a", "-x", "H"} << true << "/a"
                           << "-x"
                           << "H";
    QTest::newRow("four") << QStringList{"/a", "-x", "-y", "H"} << false << ""
                          << ""
                          << "";
}

void TestEntryLine::recFromFields()
{
    QFETCH(QStringList, fields);
    QFETCH(bool, valid);
    QFETCH(QString, fname);
    QFETCH(QString, param);
    QFETCH(QString, hint);
    const std::optional<TRec> rec = ::recFromFields(fields);
    QCOMPARE(rec.has_value(), valid);
    if (rec)
        QCOMPARE((QStringList{rec->fname, rec->param, rec->hint}), (QStringList{fname, param, hint}));
}

QTEST_GUILESS_MAIN(TestEntryLine)
#include "tst_entryline.moc"
