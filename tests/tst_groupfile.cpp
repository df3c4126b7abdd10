// SPDX-License-Identifier: MIT
#include "core/groups/GroupFile.h"
#include "core/files/LocaleCodec.h"
#include "TestFiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

using TestFiles::readBytes;
using TestFiles::writeBytes;

} // namespace

Q_DECLARE_METATYPE(GroupFileContent::Status)

class TestGroupFile : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir *m_dir = nullptr;
    QString path() const { return m_dir->filePath(groupFileName(0)); }

private Q_SLOTS:
    void init();
    void cleanup();

    void fileNames_data();
    void fileNames();
    void read_data();
    void read();
    void readLocaleCharset();
    void readAcrossLocales_data();
    void readAcrossLocales();
    void missingIsNotUnreadable();
    void unreadableFiles();
    void encode_data();
    void encode();
    void unencodableRoundTrip_data();
    void unencodableRoundTrip();
    void applyEdit_data();
    void applyEdit();
    void applyMove_data();
    void applyMove();
    void writeReplacesWholeFile();
    void failedWriteKeepsOldFile();
};

void TestGroupFile::init()
{
    m_dir = new QTemporaryDir;
    QVERIFY(m_dir->isValid());
    LocaleCodec::setCharsetForTesting("UTF-8");
}

void TestGroupFile::cleanup()
{
    LocaleCodec::setCharsetForTesting({});
    delete m_dir;
    m_dir = nullptr;
}

void TestGroupFile::fileNames_data()
{
    QTest::addColumn<int>("group");
    QTest::addColumn<QString>("name");
    QTest::newRow("0") << 0 << u"QuillbrookPath.txt"_s;
    QTest::newRow("1") << 1 << u"QuillbrookPath1.txt"_s;
    QTest::newRow("3") << 3 << u"QuillbrookPath3.txt"_s;
    QTest::newRow("4") << 4 << u"QuillbrookPath4.txt"_s;
}

void TestGroupFile::fileNames()
{
    QFETCH(int, group);
    QFETCH(QString, name);
    QCOMPARE(groupFileName(group), name);
}

void TestGroupFile::read_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("lines");

    QTest::newRow("empty file") << QByteArray() << QStringList{};
    QTest::newRow("one empty line") << QByteArray("\r\n") << QStringList{""};
    QTest::newRow("CR LF") << QByteArray("/a,,A\r\n/b,,B\r\n") << QStringList{"/a,,A", "/b,,B"};
    QTest::newRow("LF") << QByteArray("/a\n/b\n") << QStringList{"/a", "/b"};
    QTest::newRow("CR") << QByteArray("/a\r/b\r") << QStringList{"/a", "/b"};
    QTest::newRow("no final break") << QByteArray("/a\r\n/b") << QStringList{"/a", "/b"};
    QTest::newRow("empty line in the middle") << QByteArray("/a\r\n\r\n/b\r\n") << QStringList{"/a", "", "/b"};
    QTest::newRow("LF then CR is two breaks") << QByteArray("/a\n\r") << QStringList{"/a", ""};
    QTest::newRow("mixed breaks") << QByteArray("1\r2\n3\r\n4") << QStringList{"1", "2", "3", "4"};
    QTest::newRow("UTF-8 mark") << QByteArray("\xEF\xBB\xBF/h\xC3\xA9.txt\r\n") << QStringList{"/h\u00E9.txt"};
    QTest::newRow("UTF-8 mark only") << QByteArray("\xEF\xBB\xBF") << QStringList{};
    QTest::newRow("UTF-16LE mark") << QByteArray("\xFF\xFE/\0\xE5\x65\r\0\n\0", 10) << QStringList{"/\u65E5"};
    QTest::newRow("UTF-16BE mark") << QByteArray("\xFE\xFF\0/\x65\xE5\0\r\0\n", 10) << QStringList{"/\u65E5"};
}

void TestGroupFile::read()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, lines);
    QVERIFY(writeBytes(path(), bytes));
    const GroupFileContent content = readGroupFile(path());
    QCOMPARE(content.status, GroupFileContent::Read);
    QCOMPARE(content.lines, lines);
}

void TestGroupFile::readLocaleCharset()
{
    LocaleCodec::setCharsetForTesting("EUC-JP");
    QVERIFY(writeBytes(path(), "/home/u/\xC6\xFC\xCB\xDC\xB8\xEC.txt,,\xC6\xFC\r\n"));
    QCOMPARE(readGroupFile(path()).lines, QStringList{u"/home/u/日本語.txt,,日"_s});

    // A byte-order mark still wins over the locale.
    QVERIFY(writeBytes(path(), "\xEF\xBB\xBF\xE6\x97\xA5\r\n"));
    QCOMPARE(readGroupFile(path()).lines, QStringList{u"日"_s});
}

void TestGroupFile::readAcrossLocales_data()
{
    // "@" stands for the test's folder, in the bytes and in the lines.
    QTest::addColumn<QByteArray>("charset");
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<GroupFileContent::Status>("status");

    const auto read = GroupFileContent::Read;
    const auto unreadable = GroupFileContent::Unreadable;

    // 猫 in UTF-8 is valid Shift_JIS too, reading 迪ｫ.
    QTest::newRow("UTF-8 under Shift_JIS, mojibake there")
        << QByteArray("SHIFT_JIS") << QStringList{u"猫.png"_s} << QByteArray("@/\xE7\x8C\xAB.png,,\xE7\x8C\xAB\r\n")
        << QStringList{u"@/猫.png,,猫"_s} << read;
    QTest::newRow("UTF-8 under Shift_JIS, invalid there")
        << QByteArray("SHIFT_JIS") << QStringList{u"テスト.txt"_s}
        << QByteArray("@/\xE3\x83\x86\xE3\x82\xB9\xE3\x83\x88.txt,,\r\n") << QStringList{u"@/テスト.txt,,"_s} << read;
    QTest::newRow("UTF-8 under EUC-JP") << QByteArray("EUC-JP") << QStringList{u"写真.png"_s}
                                        << QByteArray("@/\xE5\x86\x99\xE7\x9C\x9F.png,,\r\n")
                                        << QStringList{u"@/写真.png,,"_s} << read;
    // 猫 in EUC-JP is valid UTF-8 too, reading ǭ.
    QTest::newRow("EUC-JP under EUC-JP, valid UTF-8 too")
        << QByteArray("EUC-JP") << QStringList{u"猫.png"_s} << QByteArray("@/\xC7\xAD.png,,\r\n")
        << QStringList{u"@/猫.png,,"_s} << read;
    QTest::newRow("Shift_JIS under UTF-8") << QByteArray("UTF-8") << QStringList{u"猫.png"_s, u"b.txt"_s}
                                           << QByteArray("@/\x94\x4C.png,,\r\n@/b.txt,,\r\n")
                                           << QStringList{u"@/\uFFFDL.png,,"_s, u"@/b.txt,,"_s} << unreadable;
    QTest::newRow("valid in neither, Shift_JIS")
        << QByteArray("SHIFT_JIS") << QStringList{u"b.txt"_s} << QByteArray("@/a\x80.png,,\r\n@/b.txt,,\r\n")
        << QStringList{u"@/a\uFFFD.png,,"_s, u"@/b.txt,,"_s} << unreadable;
    QTest::newRow("valid in neither, EUC-JP")
        << QByteArray("EUC-JP") << QStringList{} << QByteArray("@/a\xFF.png,,\r\n") << QStringList{u"@/a\uFFFD.png,,"_s}
        << unreadable;
    // é in UTF-8 reads 辿 in EUC-JP: each reading finds one file the other
    // misses, so neither keeps both entries.
    QTest::newRow("each line's file there in one reading only")
        << QByteArray("EUC-JP") << QStringList{u"é.txt"_s, u"猫.png"_s}
        << QByteArray("@/\xC3\xA9.txt,,\r\n@/\xC7\xAD.png,,\r\n") << QStringList{u"@/辿.txt,,"_s, u"@/猫.png,,"_s}
        << unreadable;
    QTest::newRow("UTF-16 odd length") << QByteArray("UTF-8") << QStringList{} << QByteArray("\xFF\xFE/\0a", 5)
                                       << QStringList{u"/\uFFFD"_s} << unreadable;
}

void TestGroupFile::readAcrossLocales()
{
    QFETCH(QByteArray, charset);
    QFETCH(QStringList, files);
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, lines);
    QFETCH(GroupFileContent::Status, status);

    for (const QString &name : files)
        QVERIFY(writeBytes(m_dir->filePath(name), "x"));
    QVERIFY(writeBytes(path(), bytes.replace('@', QFile::encodeName(m_dir->path()))));
    LocaleCodec::setCharsetForTesting(charset);

    const GroupFileContent content = readGroupFile(path());
    QCOMPARE(content.status, status);
    QCOMPARE(content.lines, lines.replaceInStrings(u"@"_s, m_dir->path()));
}

void TestGroupFile::missingIsNotUnreadable()
{
    const GroupFileContent content = readGroupFile(path());
    QCOMPARE(content.status, GroupFileContent::Missing);
    QVERIFY(content.lines.isEmpty());
    QVERIFY(!QFile::exists(path()));
}

void TestGroupFile::unreadableFiles()
{
    QVERIFY(QDir(m_dir->path()).mkdir(groupFileName(1)));
    QCOMPARE(readGroupFile(m_dir->filePath(groupFileName(1))).status, GroupFileContent::Unreadable);

    // Opening a FIFO for reading would wait for a writer forever.
    const QString fifo = m_dir->filePath(groupFileName(2));
    QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    QCOMPARE(readGroupFile(fifo).status, GroupFileContent::Unreadable);

    // A dangling link is the user's: reported as unreadable so nothing writes
    // through it.
    const QString link = m_dir->filePath(groupFileName(3));
    QVERIFY(QFile::link(m_dir->filePath("gone.txt"), link));
    QCOMPARE(readGroupFile(link).status, GroupFileContent::Unreadable);

    QFile huge(m_dir->filePath(groupFileName(4)));
    QVERIFY(huge.open(QIODevice::WriteOnly));
    QVERIFY(huge.resize(64 * 1024 * 1024 + 1));
    huge.close();
    QCOMPARE(readGroupFile(huge.fileName()).status, GroupFileContent::Unreadable);

    if (::geteuid() == 0)
        QSKIP("root reads files without read permission");
    QVERIFY(writeBytes(path(), "/a\r\n"));
    QVERIFY(QFile::setPermissions(path(), QFile::WriteOwner));
    QCOMPARE(readGroupFile(path()).status, GroupFileContent::Unreadable);
}

void TestGroupFile::encode_data()
{
    QTest::addColumn<QByteArray>("charset");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QByteArray>("bytes");

    QTest::newRow("empty group") << QByteArray("UTF-8") << QStringList{} << QByteArray();
    QTest::newRow("one empty line") << QByteArray("UTF-8") << QStringList{""} << QByteArray("\r\n");
    QTest::newRow("CR LF after every line")
        << QByteArray("UTF-8") << QStringList{"/a,,A", "/b,-x,"} << QByteArray("/a,,A\r\n/b,-x,\r\n");
    QTest::newRow("UTF-8 locale, no mark")
        << QByteArray("UTF-8") << QStringList{u"/日"_s} << QByteArray("/\xE6\x97\xA5\r\n");
    QTest::newRow("Latin-1") << QByteArray("ISO-8859-1") << QStringList{u"/caf\u00E9"_s} << QByteArray("/caf\xE9\r\n");
    QTest::newRow("EUC-JP") << QByteArray("EUC-JP") << QStringList{u"/日本"_s} << QByteArray("/\xC6\xFC\xCB\xDC\r\n");
    QTest::newRow("Latin-1 cannot hold it") << QByteArray("ISO-8859-1") << QStringList{u"/caf\u00E9"_s, u"/日"_s}
                                            << QByteArray("\xEF\xBB\xBF/caf\xC3\xA9\r\n/\xE6\x97\xA5\r\n");
}

void TestGroupFile::encode()
{
    QFETCH(QByteArray, charset);
    QFETCH(QStringList, lines);
    QFETCH(QByteArray, bytes);
    LocaleCodec::setCharsetForTesting(charset);
    QCOMPARE(encodeGroupFile(lines), bytes);
}

void TestGroupFile::unencodableRoundTrip_data()
{
    QTest::addColumn<QByteArray>("charset");
    QTest::addColumn<QStringList>("lines");

    QTest::newRow("Latin-1 cannot hold it")
        << QByteArray("ISO-8859-1") << QStringList{u"/home/u/日本.txt,,日本"_s, u"/home/u/caf\u00E9,-x,"_s};
    // Bytes at the start that read as a byte-order mark.
    QTest::newRow("first entry begins with U+FEFF") << QByteArray("UTF-8") << QStringList{u"\uFEFF/a,,"_s, u"/b,,"_s};
    QTest::newRow("first entry's bytes read as a UTF-16 mark")
        << QByteArray("ISO-8859-1") << QStringList{u"\u00FF\u00FE/a,,"_s};
    // Shift_JIS reads the backslash's and the tilde's bytes as other signs.
    QTest::newRow("Shift_JIS backslash and tilde")
        << QByteArray("SHIFT_JIS") << QStringList{u"/home/u/a\\b~.txt,,日本"_s};
}

void TestGroupFile::unencodableRoundTrip()
{
    QFETCH(QByteArray, charset);
    QFETCH(QStringList, lines);
    LocaleCodec::setCharsetForTesting(charset);
    QString error;
    QVERIFY(writeGroupFile(path(), lines, &error));
    const GroupFileContent content = readGroupFile(path());
    QCOMPARE(content.status, GroupFileContent::Read);
    QCOMPARE(content.lines, lines);
}

// An edit made again to the lines of a file someone else changed. Lines are
// "/x.txt,," for a letter x; "h" is a bare path typed by hand.
void TestGroupFile::applyEdit_data()
{
    QTest::addColumn<QString>("lines");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("added");
    QTest::addColumn<QString>("expected"); // "-": refused

    const auto row = [](const char *name, const char *lines, GroupEdit::Kind kind, const char *line, const char *added,
                        const char *expected) {
        QTest::newRow(name) << QString::fromLatin1(lines) << int(kind) << QString::fromLatin1(line)
                            << QString::fromLatin1(added) << QString::fromLatin1(expected);
    };
    row("append one", "a b", GroupEdit::Append, "", "c", "a b c");
    row("append a drop of three, in order", "a b", GroupEdit::Append, "", "e d c", "a b e d c");
    row("insert before an entry", "a b c", GroupEdit::Insert, "b", "e d", "a e d b c");
    row("insert before the first", "a b", GroupEdit::Insert, "a", "c", "c a b");
    row("insert before an entry written by hand", "a h b", GroupEdit::Insert, "h", "c", "a c h b");
    row("insert before an entry gone: at the end", "a c", GroupEdit::Insert, "b", "d e", "a c d e");
    row("remove", "a b c", GroupEdit::Remove, "b", "", "a c");
    row("reorder cannot be laid over", "a b c", GroupEdit::Reorder, "", "", "-");
}

// The edit tables' letters as lines: "h" stands for h.txt as a bare path,
// the others as the launcher writes them.
static QStringList linesOfLetters(const QString &names)
{
    QStringList out;
    for (const QString &x : names.split(u' ', Qt::SkipEmptyParts))
        out.append(x == u"h" ? u"/h.txt"_s : u"/"_s + x + u".txt,,"_s);
    return out;
}

void TestGroupFile::applyEdit()
{
    QFETCH(QString, lines);
    QFETCH(int, kind);
    QFETCH(QString, line);
    QFETCH(QString, added);
    QFETCH(QString, expected);

    const GroupEdit edit{GroupEdit::Kind(kind),
                         line.isEmpty() ? QString() : u"/"_s + line + u".txt,,"_s,
                         {},
                         linesOfLetters(added)};
    const std::optional<QStringList> result = applyGroupEdit(linesOfLetters(lines), edit);
    if (expected == u"-")
        QCOMPARE(result, std::nullopt);
    else
        QCOMPARE(result, std::optional<QStringList>(linesOfLetters(expected)));
}

// A drag made again to a changed file: the entry goes next to the one the
// user placed it by. Same letters as applyEdit.
void TestGroupFile::applyMove_data()
{
    QTest::addColumn<QString>("lines");
    QTest::addColumn<QString>("moved");
    QTest::addColumn<QString>("anchor");
    QTest::addColumn<bool>("after");
    QTest::addColumn<QString>("expected"); // "-": refused

    QTest::newRow("after, file unchanged") << u"a b c"_s << u"a"_s << u"c"_s << true << u"b c a"_s;
    QTest::newRow("before, a line added first") << u"x a b c"_s << u"c"_s << u"a"_s << false << u"x c a b"_s;
    QTest::newRow("after, a line between") << u"a b x c"_s << u"a"_s << u"b"_s << true << u"b a x c"_s;
    QTest::newRow("already in place") << u"b a"_s << u"a"_s << u"b"_s << true << u"b a"_s;
    QTest::newRow("written by hand keeps its form") << u"h a b"_s << u"h"_s << u"b"_s << true << u"a b h"_s;
    QTest::newRow("next to a copy of itself") << u"a b a"_s << u"a"_s << u"a"_s << false << u"b a a"_s;
    QTest::newRow("the moved one gone") << u"b c"_s << u"a"_s << u"c"_s << true << u"-"_s;
    QTest::newRow("its neighbour gone") << u"a b"_s << u"a"_s << u"c"_s << true << u"-"_s;
    QTest::newRow("its only copy is its neighbour") << u"a b"_s << u"a"_s << u"a"_s << true << u"-"_s;
}

void TestGroupFile::applyMove()
{
    QFETCH(QString, lines);
    QFETCH(QString, moved);
    QFETCH(QString, anchor);
    QFETCH(bool, after);
    QFETCH(QString, expected);

    // The bar names both as it writes them.
    const GroupEdit edit{GroupEdit::Move, u"/"_s + moved + u".txt,,"_s, {}, {}, u"/"_s + anchor + u".txt,,"_s, after};
    const std::optional<QStringList> result = applyGroupEdit(linesOfLetters(lines), edit);
    if (expected == u"-")
        QCOMPARE(result, std::nullopt);
    else
        QCOMPARE(result, std::optional<QStringList>(linesOfLetters(expected)));
}

void TestGroupFile::writeReplacesWholeFile()
{
    QVERIFY(writeBytes(path(), "/old/one,,\r\n/old/two,,\r\n"));
    QString error;
    QVERIFY(writeGroupFile(path(), {"/new,,"}, &error));
    QCOMPARE(readBytes(path()), QByteArray("/new,,\r\n"));

    QVERIFY(writeGroupFile(path(), {}, &error));
    QVERIFY(QFile::exists(path()));
    QCOMPARE(readBytes(path()), QByteArray());
}

void TestGroupFile::failedWriteKeepsOldFile()
{
    QString error;
    const QString noDir = m_dir->filePath("no-such-dir/" + groupFileName(0));
    QVERIFY(!writeGroupFile(noDir, {"/a,,"}, &error));
    QVERIFY(!error.isEmpty());
    QVERIFY(!QFile::exists(noDir));

    // A name at the length limit leaves no room for the temporary file beside
    // it, so the write fails even for root while the old file is there.
    const QString longPath = m_dir->filePath(QString(250, u'g'));
    const QByteArray old = "/old,,\r\n";
    QVERIFY(writeBytes(longPath, old));
    error.clear();
    QVERIFY(!writeGroupFile(longPath, {"/new,,"}, &error));
    QVERIFY(!error.isEmpty());
    QCOMPARE(readBytes(longPath), old);
}

QTEST_GUILESS_MAIN(TestGroupFile)
#include "tst_groupfile.moc"
