// SPDX-License-Identifier: MIT
#include "core/entries/EntryLine.h"
#include "core/entries/PathRules.h"

#include <QTest>

class TestPathRules : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void names_data();
    void names();
    void launchHint_data();
    void launchHint();
    void workingDirectory_data();
    void workingDirectory();
};

void TestPathRules::names_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("title");

    QTest::newRow("plain") << "/usr/bin/app"
                           << "app"
                           << "app";
    QTest::newRow("one extension") << "/home/u/report.txt"
                                   << "report.txt"
                                   << "report";
    QTest::newRow("last extension only") << "/home/u/archive.tar.gz"
                                         << "archive.tar.gz"
                                         << "archive.tar";
    QTest::newRow("dot file") << "/home/u/.profile"
                              << ".profile"
                              << "";
    QTest::newRow("trailing dot") << "/home/u/notes."
                                  << "notes."
                                  << "notes";
    QTest::newRow("dot in folder only") << "/home/u/v1.2/run"
                                        << "run"
                                        << "run";
    QTest::newRow("colon is ordinary") << "/mnt/c:/a:b.sh"
                                       << "a:b.sh"
                                       << "a:b";
    QTest::newRow("bare name") << "tool.AppImage"
                               << "tool.AppImage"
                               << "tool";
    QTest::newRow("ends in separator") << "/home/u/"
                                       << ""
                                       << "";
    QTest::newRow("empty") << ""
                           << ""
                           << "";
}

void TestPathRules::names()
{
    QFETCH(QString, path);
    QFETCH(QString, name);
    QFETCH(QString, title);
    QCOMPARE(fileNamePart(path), name);
    QCOMPARE(ExtractFileTitle(path), title);
}

void TestPathRules::launchHint_data()
{
    QTest::addColumn<QString>("param");
    QTest::addColumn<QString>("hint");
    QTest::addColumn<QString>("expected");

    QTest::newRow("path parameter") << "/home/u/docs/report.txt"
                                    << "Editor"
                                    << "Editor -> report.txt";
    QTest::newRow("option parameter") << "-x"
                                      << "Editor"
                                      << "Editor -> -x";
    QTest::newRow("no parameter") << ""
                                  << "Editor"
                                  << "Editor";
    QTest::newRow("empty hint") << "/a/b"
                                << ""
                                << " -> b";
    QTest::newRow("nothing") << ""
                             << ""
                             << "";
    QTest::newRow("parameter ends in separator") << "/tmp/"
                                                 << "Files"
                                                 << "Files -> ";
}

void TestPathRules::launchHint()
{
    QFETCH(QString, param);
    QFETCH(QString, hint);
    QFETCH(QString, expected);
    QCOMPARE(::launchHint(TRec{"/usr/bin/ed", param, hint}), expected);
}

void TestPathRules::workingDirectory_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("dir");

    QTest::newRow("nested") << "/usr/bin/app"
                            << "/usr/bin";
    QTest::newRow("in root") << "/app"
                             << "/";
    QTest::newRow("bare name") << "app"
                               << "";
    QTest::newRow("relative") << "bin/app"
                              << "bin";
    QTest::newRow("colon is ordinary") << "/mnt/c:app"
                                       << "/mnt";
    QTest::newRow("empty") << ""
                           << "";
}

void TestPathRules::workingDirectory()
{
    QFETCH(QString, path);
    QFETCH(QString, dir);
    QCOMPARE(workingDirectoryOf(path), dir);
}

QTEST_GUILESS_MAIN(TestPathRules)
#include "tst_pathrules.moc"
