// SPDX-License-Identifier: MIT
// A group or settings file another program changes while the bar runs:
// the bar shows the change at once, unless the user has something under
// way, and our own saves are no change. A drag made over a changed file
// keeps both changes.
#include "app/Unit1.h"
#include "BarFixture.h"
#include "BarProbe.h"

#include <QDir>
#include <QSignalSpy>
#include <QTest>

#include <cstdio>

using namespace Qt::StringLiterals;
using TestFiles::readBytes;
using TestFiles::writeBytes;

class TestHandEdits : public QObject, private BarFixture
{
    Q_OBJECT

private:
    QString groupFile() const { return file(groupFileName(0)); }
    // The line of entry `name`, a file made in the home.
    QString lineOf(const QString &name)
    {
        if (!QFile::exists(file(name)))
            writeBytes(file(name), "x\n");
        return file(name) + u",,"_s + name;
    }
    QStringList linesOf(const QString &names)
    {
        QStringList lines;
        for (const QString &name : names.split(u' ', Qt::SkipEmptyParts))
            lines.append(lineOf(name));
        return lines;
    }
    static QByteArray bytesOf(const QStringList &lines)
    {
        return lines.isEmpty() ? QByteArray() : (lines.join(u"\r\n"_s) + u"\r\n"_s).toUtf8();
    }
    // As an editor saves: a new file renamed over the old one.
    bool replaceByRename(const QString &path, const QByteArray &bytes)
    {
        const QString temporary = path + u".edit"_s;
        return writeBytes(temporary, bytes)
               && std::rename(QFile::encodeName(temporary).constData(), QFile::encodeName(path).constData()) == 0;
    }
    static QStringList hintsOf(const TForm1 &form)
    {
        QStringList hints;
        for (qsizetype i = 0; i < form.currentGroup().size(); ++i)
            hints.append(form.currentGroup().entry(i).hint);
        return hints;
    }

private Q_SLOTS:
    void init() { QVERIFY(setUp()); }
    void cleanup() { tearDown(); }

    void handEditShowsAtOnce_data();
    void handEditShowsAtOnce();
    void ownSavesReloadNothing();
    void heldBackWhileDialogOpen();
    void dragOverChangedFile_data();
    void dragOverChangedFile();
    void settingsEditedByHand();
};

void TestHandEdits::handEditShowsAtOnce_data()
{
    QTest::addColumn<QString>("before"); // "-": no group file yet
    QTest::addColumn<QString>("after");
    QTest::addColumn<bool>("rename");

    QTest::newRow("line appended in place") << u"a b"_s << u"a b c"_s << false;
    QTest::newRow("replaced by a rename") << u"a b"_s << u"a b c"_s << true;
    QTest::newRow("replaced twice: watched again") << u"a b"_s << u"a b c"_s << true;
    // The old file lives on while open: the kernel says nothing of it, and
    // only the new one's changes matter.
    QTest::newRow("replaced while held open, then appended") << u"a b"_s << u"a b c"_s << false;
    QTest::newRow("line removed") << u"a b c"_s << u"a c"_s << true;
    QTest::newRow("file made later") << u"-"_s << u"a"_s << false;
}

void TestHandEdits::handEditShowsAtOnce()
{
    QFETCH(QString, before);
    QFETCH(QString, after);
    QFETCH(bool, rename);

    if (before != u"-")
        QVERIFY(writeBytes(groupFile(), bytesOf(linesOf(before))));
    TForm1 form(home());
    form.show();
    const QStringList expected = after.split(u' ');
    const QStringList first = before == u"-" ? QStringList() : before.split(u' ');
    QCOMPARE(hintsOf(form), first);

    const auto edit = [&](const QStringList &lines) {
        if (rename) {
            QVERIFY(replaceByRename(groupFile(), bytesOf(lines)));
        } else {
            // Opened for appending, as `echo line >> file` does.
            QFile group(groupFile());
            QVERIFY(group.open(QIODevice::ReadWrite));
            const QByteArray bytes = bytesOf(lines);
            QVERIFY(group.resize(0) && group.write(bytes) == bytes.size());
        }
    };
    QFile heldOpen(groupFile());
    if (QByteArray(QTest::currentDataTag()).contains("held open")) {
        QVERIFY(heldOpen.open(QIODevice::ReadOnly));
        QVERIFY(replaceByRename(groupFile(), bytesOf(linesOf(u"b"_s))));
        QTRY_COMPARE_WITH_TIMEOUT(hintsOf(form), QStringList{u"b"_s}, 1000);
    }
    if (QByteArray(QTest::currentDataTag()).contains("twice")) {
        edit(linesOf(u"b"_s));
        QTRY_COMPARE_WITH_TIMEOUT(hintsOf(form), QStringList{u"b"_s}, 1000);
    }
    edit(linesOf(after));
    QTRY_COMPARE_WITH_TIMEOUT(BarProbe::LaunchBtn(form).size(), expected.size(), 1000);
    QCOMPARE(hintsOf(form), expected);
    QCOMPARE(m_shown, QStringList());
}

void TestHandEdits::ownSavesReloadNothing()
{
    QVERIFY(writeBytes(groupFile(), bytesOf(linesOf(u"a b c"_s))));
    TForm1 form(home());
    form.show();
    QSignalSpy loads(&form, &TForm1::groupLoaded);
    LaunchButton *kept = BarProbe::LaunchBtn(form).first();

    QVERIFY(form.moveEntry(0, 2));
    QVERIFY(form.WriteIniFile());
    QVERIFY(writeBytes(file(u"unrelated.txt"_s), "x"));
    // Long enough for the kernel's word on our own writes to arrive.
    QTest::qWait(300);
    QCOMPARE(loads.size(), 0);
    QCOMPARE(BarProbe::LaunchBtn(form).last(), kept);
    QCOMPARE(hintsOf(form), QStringList({u"b"_s, u"c"_s, u"a"_s}));
    QCOMPARE(m_shown, QStringList());
}

void TestHandEdits::heldBackWhileDialogOpen()
{
    QVERIFY(writeBytes(groupFile(), bytesOf(linesOf(u"a b"_s))));
    TForm1 form(home());
    QWidget settings;
    form.setDialogs(&settings, nullptr);
    form.show();
    settings.show();

    QVERIFY(replaceByRename(groupFile(), bytesOf(linesOf(u"a b c"_s))));
    QTest::qWait(300);
    QCOMPARE(hintsOf(form), QStringList({u"a"_s, u"b"_s}));
    // Closed without a change of its own: the edit shows then.
    settings.hide();
    QTRY_COMPARE_WITH_TIMEOUT(hintsOf(form), QStringList({u"a"_s, u"b"_s, u"c"_s}), 1000);
}

void TestHandEdits::dragOverChangedFile_data()
{
    QTest::addColumn<QString>("handEdit");
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::addColumn<QString>("expected"); // "-": refused, the file as edited by hand

    // The bar showed a b c; the file was changed before the bar heard of it.
    QTest::newRow("right, line appended") << u"a b c x"_s << 0 << 2 << u"b c a x"_s;
    QTest::newRow("left, line put first") << u"x a b c"_s << 2 << 0 << u"x c a b"_s;
    QTest::newRow("right, a line between") << u"a b x c"_s << 0 << 1 << u"b a x c"_s;
    QTest::newRow("its neighbour removed") << u"a b"_s << 0 << 2 << u"-"_s;
    QTest::newRow("the moved one removed") << u"b c"_s << 0 << 2 << u"-"_s;
}

void TestHandEdits::dragOverChangedFile()
{
    QFETCH(QString, handEdit);
    QFETCH(int, from);
    QFETCH(int, to);
    QFETCH(QString, expected);

    QVERIFY(writeBytes(groupFile(), bytesOf(linesOf(u"a b c"_s))));
    TForm1 form(home());
    form.show();
    QVERIFY(replaceByRename(groupFile(), bytesOf(linesOf(handEdit))));
    // No event loop in between: the save meets the change first.
    const bool refused = expected == u"-";
    QCOMPARE(form.moveEntry(from, to), !refused);
    const QString shown = refused ? handEdit : expected;
    QCOMPARE(readBytes(groupFile()), bytesOf(linesOf(shown)));
    QCOMPARE(hintsOf(form), shown.split(u' '));
    QCOMPARE(BarProbe::LaunchBtn(form).size(), shown.split(u' ').size());
    QCOMPARE(m_shown.size(), refused ? 1 : 0);
}

void TestHandEdits::settingsEditedByHand()
{
    writeIni("[Form]\r\nTop=10\r\nLeft=20\r\nHeight=150\r\nWidth=400\r\n[Icon]\r\nWidth=48\r\n");
    QVERIFY(writeBytes(groupFile(), bytesOf(linesOf(u"a"_s))));
    TForm1 form(home());
    form.show();
    const StoredGeometry geometry = form.userGeometry();
    QSignalSpy loads(&form, &TForm1::groupLoaded);

    // A new place and size by hand are not taken while the bar runs: the
    // window is where the user left it.
    QVERIFY(replaceByRename(file(u"Quillbrook.ini"_s),
                            "[Form]\r\nTop=300\r\nLeft=300\r\nHeight=90\r\nWidth=90\r\n[Icon]\r\nWidth=32\r\n"
                            "[Menu]\r\nName2=Tools\r\n"));
    QTRY_COMPARE_WITH_TIMEOUT(form.settings().bw2, 32, 1000);
    QCOMPARE(form.buttonIconSize().first, 32);
    QCOMPARE(form.groupName(2), u"Tools"_s);
    QCOMPARE(BarProbe::groupItem(BarProbe::menus(form), 2)->text(), u"Tools"_s);
    QCOMPARE(form.userGeometry().top, geometry.top);
    QCOMPARE(form.userGeometry().width, geometry.width);
    QCOMPARE(BarProbe::LaunchBtn(form).size(), 1);
    QCOMPARE(loads.size(), 1);
    // Only the settings changed: read once.
    QTest::qWait(200);
    QCOMPARE(loads.size(), 1);
}

QTEST_MAIN(TestHandEdits)
#include "tst_handedits.moc"
