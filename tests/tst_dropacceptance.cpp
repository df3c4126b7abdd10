// SPDX-License-Identifier: MIT
#include "core/entries/DropAcceptance.h"
#include "TestFiles.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

class TestDropAcceptance : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void launches_data();
    void launches();
    void entryOfFile();
};

namespace {

// "/d/a.txt" is a local file; anything with "://" a link as written.
QList<QUrl> urlsOf(const QStringList &written)
{
    QList<QUrl> urls;
    for (const QString &w : written)
        urls.append(w.contains(u"://"_s) ? QUrl(w) : QUrl::fromLocalFile(w));
    return urls;
}

// Each start as its files' names, separated by blanks.
QStringList shown(const QList<DropLaunch> &launches)
{
    QStringList result;
    for (const DropLaunch &launch : launches) {
        QStringList names;
        for (const QUrl &url : launch.files)
            names.append(url.isLocalFile() ? url.fileName() : url.toString());
        result.append(names.join(u' '));
    }
    return result;
}

} // namespace

void TestDropAcceptance::launches_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("mimeTypes");
    QTest::addColumn<QString>("exec");
    QTest::addColumn<QStringList>("dropped");
    QTest::addColumn<QStringList>("starts"); // empty: refused

    const int desktop = int(DropEntryKind::DesktopEntry);
    const int program = int(DropEntryKind::Program);
    const int other = int(DropEntryKind::Other);
    const QStringList one{u"/d/notes.txt"_s};
    const QStringList two{u"/d/notes.txt"_s, u"/d/todo.txt"_s};

    QTest::newRow("text entry, text file")
        << desktop << u"text/plain;"_s << u"edit %F"_s << one << QStringList{u"notes.txt"_s};
    QTest::newRow("%F: one start with all")
        << desktop << u"text/plain"_s << u"edit %F"_s << two << QStringList{u"notes.txt todo.txt"_s};
    QTest::newRow("%f: one start per file")
        << desktop << u"text/plain"_s << u"edit %f"_s << two << QStringList{u"notes.txt"_s, u"todo.txt"_s};
    QTest::newRow("%u: one start per file")
        << desktop << QString() << u"view %u"_s << two << QStringList{u"notes.txt"_s, u"todo.txt"_s};
    QTest::newRow("no field code: one per file, by type")
        << desktop << u"text/plain"_s << u"edit"_s << two << QStringList{u"notes.txt"_s, u"todo.txt"_s};
    QTest::newRow("parent type: python is text")
        << desktop << u"text/plain"_s << u"edit %F"_s << QStringList{u"/d/run.py"_s} << QStringList{u"run.py"_s};
    QTest::newRow("alias in the entry's list")
        << desktop << u"application/x-pdf"_s << u"pdf %f"_s << QStringList{u"/d/a.pdf"_s} << QStringList{u"a.pdf"_s};
    QTest::newRow("wildcard type") << desktop << u"image/*"_s << u"view %F"_s
                                   << QStringList{u"/d/a.png"_s, u"/d/b.jpg"_s} << QStringList{u"a.png b.jpg"_s};
    QTest::newRow("picture on a text entry")
        << desktop << u"text/plain"_s << u"edit %F"_s << QStringList{u"/d/red.png"_s} << QStringList{};
    QTest::newRow("one of two refused refuses all") << desktop << u"text/plain"_s << u"edit %F"_s
                                                    << QStringList{u"/d/notes.txt"_s, u"/d/red.png"_s} << QStringList{};
    QTest::newRow("no MimeType, no field code") << desktop << QString() << u"tool --run"_s << one << QStringList{};
    QTest::newRow("%% is no field code") << desktop << QString() << u"tool 100%%f"_s << one << QStringList{};
    QTest::newRow("no MimeType, %F takes anything")
        << desktop << QString() << u"tool %F"_s << QStringList{u"/d/red.png"_s} << QStringList{u"red.png"_s};
    QTest::newRow("no Exec") << desktop << u"text/plain"_s << QString() << one << QStringList{};
    QTest::newRow("link on %U") << desktop << QString() << u"web %U"_s << QStringList{u"https://example.org/x"_s}
                                << QStringList{u"https://example.org/x"_s};
    QTest::newRow("link on %F") << desktop << QString() << u"edit %F"_s << QStringList{u"https://example.org/x"_s}
                                << QStringList{};
    QTest::newRow("link by scheme handler")
        << desktop << u"x-scheme-handler/https;"_s << u"web %f"_s << QStringList{u"https://example.org/x"_s}
        << QStringList{u"https://example.org/x"_s};
    QTest::newRow("link of another scheme") << desktop << u"x-scheme-handler/https;"_s << u"web %f"_s
                                            << QStringList{u"ftp://example.org/x"_s} << QStringList{};
    QTest::newRow("program takes any files at once")
        << program << QString() << QString() << QStringList{u"/d/red.png"_s, u"/d/notes.txt"_s}
        << QStringList{u"red.png notes.txt"_s};
    QTest::newRow("program takes no links")
        << program << QString() << QString() << QStringList{u"/d/a.txt"_s, u"https://example.org/"_s} << QStringList{};
    QTest::newRow("document or folder") << other << QString() << QString() << one << QStringList{};
    QTest::newRow("empty drop") << program << QString() << QString() << QStringList{} << QStringList{};
}

void TestDropAcceptance::launches()
{
    QFETCH(int, kind);
    QFETCH(QString, mimeTypes);
    QFETCH(QString, exec);
    QFETCH(QStringList, dropped);
    QFETCH(QStringList, starts);
    const DropEntry entry{DropEntryKind(kind), mimeTypes.split(u';', Qt::SkipEmptyParts), exec, {}};
    QCOMPARE(shown(dropLaunches(entry, droppedItems(urlsOf(dropped)))), starts);
}

void TestDropAcceptance::entryOfFile()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString editor = dir.filePath(u"editor.desktop"_s);
    QVERIFY(TestFiles::writeBytes(editor, "# comment\n[Desktop Entry]\nName=Ed\nName[ja]=エド\nExec=ed %F\n"
                                          "MimeType=text/plain;text/x-c;\n[Desktop Action New]\nExec=ed --new\n"));
    const DropEntry read = dropEntryOf(editor);
    QCOMPARE(int(read.kind), int(DropEntryKind::DesktopEntry));
    QCOMPARE(read.name, u"Ed"_s);
    QCOMPARE(read.exec, u"ed %F"_s);
    QCOMPARE(read.mimeTypes, (QStringList{u"text/plain"_s, u"text/x-c"_s}));

    const QString program = dir.filePath(u"tool"_s);
    QVERIFY(TestFiles::writeBytes(program, "#!/bin/sh\n"));
    QVERIFY(QFile::setPermissions(program, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    QCOMPARE(int(dropEntryOf(program).kind), int(DropEntryKind::Program));

    // Documents, folders, missing files and a "desktop entry" no real one
    // resembles take nothing; none of them is an error.
    const QString document = dir.filePath(u"notes.txt"_s);
    QVERIFY(TestFiles::writeBytes(document, "x\n"));
    const QString huge = dir.filePath(u"huge.desktop"_s);
    QVERIFY(TestFiles::writeBytes(huge, "[Desktop Entry]\nExec=x %F\n" + QByteArray(512 * 1024, '#')));
    for (const QString &path : {document, dir.path(), dir.filePath(u"gone.desktop"_s), huge, QString()})
        QCOMPARE(int(dropEntryOf(path).kind), int(DropEntryKind::Other));
}

QTEST_GUILESS_MAIN(TestDropAcceptance)
#include "tst_dropacceptance.moc"
