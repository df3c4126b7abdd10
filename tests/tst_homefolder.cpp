// SPDX-License-Identifier: MIT
// Where the launcher keeps its files: beside a portable build, in the user's
// config folder when installed into a "bin" folder, wherever --home says.
#include "core/session/HomeFolder.h"

#include <QDir>
#include <QTest>

class TestHomeFolder : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void choose_data();
    void choose();
};

void TestHomeFolder::choose_data()
{
    QTest::addColumn<QString>("executableDir");
    QTest::addColumn<QString>("homeOption");
    QTest::addColumn<QString>("configHome");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<bool>("createOnSave");

    QTest::newRow("portable build folder") << "/src/qb/build"
                                           << ""
                                           << "/home/u/.cfg"
                                           << "/src/qb/build/" << false;
    QTest::newRow("installed, XDG_CONFIG_HOME") << "/usr/bin"
                                                << ""
                                                << "/home/u/.cfg"
                                                << "/home/u/.cfg/Quillbrook/" << true;
    QTest::newRow("installed for one user") << "/home/u/.local/bin"
                                            << ""
                                            << ""
                                            << "/home/u/.config/Quillbrook/" << true;
    QTest::newRow("installed, relative XDG_CONFIG_HOME ignored") << "/usr/local/bin"
                                                                 << ""
                                                                 << "cfg"
                                                                 << "/home/u/.config/Quillbrook/" << true;
    QTest::newRow("bin only as the last folder") << "/opt/bin/qb"
                                                 << ""
                                                 << "/c"
                                                 << "/opt/bin/qb/" << false;
    QTest::newRow("a folder merely ending in bin") << "/opt/cabin"
                                                   << ""
                                                   << "/c"
                                                   << "/opt/cabin/" << false;
    QTest::newRow("trailing separator") << "/usr/bin/"
                                        << ""
                                        << "/c"
                                        << "/c/Quillbrook/" << true;
    QTest::newRow("--home over portable") << "/src/qb/build"
                                          << "/data/qb"
                                          << "/c"
                                          << "/data/qb/" << true;
    QTest::newRow("--home over installed") << "/usr/bin"
                                           << "/data/qb/"
                                           << "/c"
                                           << "/data/qb/" << true;
    QTest::newRow("--home relative") << "/usr/bin"
                                     << "qbhome"
                                     << "/c" << QDir::currentPath() + "/qbhome/" << true;
    QTest::newRow("--home cleaned") << "/usr/bin"
                                    << "/data/./x/../qb"
                                    << "/c"
                                    << "/data/qb/" << true;
}

void TestHomeFolder::choose()
{
    QFETCH(QString, executableDir);
    QFETCH(QString, homeOption);
    QFETCH(QString, configHome);
    QFETCH(QString, expected);
    QFETCH(bool, createOnSave);
    const HomeFolder home = chooseHomeFolder(executableDir, homeOption, configHome, QStringLiteral("/home/u"));
    QCOMPARE(home.path, expected);
    QCOMPARE(home.createOnSave, createOnSave);
}

QTEST_GUILESS_MAIN(TestHomeFolder)
#include "tst_homefolder.moc"
