// SPDX-License-Identifier: MIT
// How an entry's parameters become the words a program receives.
#include "core/entries/ParameterWords.h"

#include <QTest>

using namespace Qt::StringLiterals;

class TestParameterWords : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void split_data();
    void split();
};

void TestParameterWords::split_data()
{
    QTest::addColumn<QString>("params");
    QTest::addColumn<QStringList>("words");

    QTest::newRow("empty") << QString() << QStringList();
    QTest::newRow("blanks and tabs") << u" a\tb  c "_s << QStringList{u"a"_s, u"b"_s, u"c"_s};
    QTest::newRow("balanced double quotes") << u"\"a b\" c"_s << QStringList{u"a b"_s, u"c"_s};
    QTest::newRow("balanced single quotes") << u"'a b' c"_s << QStringList{u"a b"_s, u"c"_s};
    QTest::newRow("quotes join with text") << u"x\"a b\"y"_s << QStringList{u"xa by"_s};
    QTest::newRow("empty quotes are a word") << u"a \"\" b"_s << QStringList{u"a"_s, QString(), u"b"_s};
    QTest::newRow("one apostrophe") << u"it's here"_s << QStringList{u"it's"_s, u"here"_s};
    QTest::newRow("one double quote") << u"5\" disk"_s << QStringList{u"5\""_s, u"disk"_s};
    QTest::newRow("unmatched after a pair") << u"'a b' c'd"_s << QStringList{u"a b"_s, u"c'd"_s};
    QTest::newRow("apostrophe inside double") << u"\"it's\""_s << QStringList{u"it's"_s};
    QTest::newRow("double inside single") << u"'\"x\"'"_s << QStringList{u"\"x\""_s};
    QTest::newRow("escaped quote in double") << u"\"a \\\"b\\\" \\\\ \\n\""_s << QStringList{u"a \"b\" \\ \\n"_s};
    QTest::newRow("backslash outside quotes") << u"a\\ b \\'c"_s << QStringList{u"a b"_s, u"'c"_s};
    QTest::newRow("backslash in single quotes") << u"'a\\b'"_s << QStringList{u"a\\b"_s};
    QTest::newRow("escaped quote leaves it unmatched") << u"\"a\\\""_s << QStringList{u"\"a\""_s};
    QTest::newRow("trailing backslash") << u"a\\"_s << QStringList{u"a\\"_s};
    QTest::newRow("nothing expanded") << u"$HOME * ~ #x"_s << QStringList{u"$HOME"_s, u"*"_s, u"~"_s, u"#x"_s};
}

void TestParameterWords::split()
{
    QFETCH(QString, params);
    QFETCH(QStringList, words);
    QCOMPARE(splitParameterWords(params), words);
}

QTEST_APPLESS_MAIN(TestParameterWords)
#include "tst_parameterwords.moc"
