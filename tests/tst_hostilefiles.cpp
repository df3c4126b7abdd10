// SPDX-License-Identifier: MIT
// Strange and hostile files where the launcher keeps its group list files
// and its settings: huge, binary, badly encoded, endless, not files at all.
// The bar must start, show what it can read, and never write over what it
// could not read whole.
#include "app/Unit1.h"
#include "BarFixture.h"
#include "BarProbe.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTest>

#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

enum class Kind {
    Huge,
    Binary,
    InvalidUtf8,
    OddUtf16,
    NulBytes,
    MillionLines,
    LongLine,
    Fifo,
    Device,
    DanglingLink,
    LoopingLink,
    NoReadPermission,
    Folder,
};

using TestFiles::writeBytes;

QByteArray utf16(const QString &text)
{
    return QByteArray(reinterpret_cast<const char *>(text.utf16()), text.size() * 2);
}

// What stands at a path, without following links or opening anything.
QString describe(const QString &path)
{
    struct stat info {};
    if (::lstat(QFile::encodeName(path).constData(), &info) != 0)
        return u"nothing"_s;
    QString kind = u"mode %1 size %2"_s.arg(info.st_mode, 0, 8).arg(info.st_size);
    if (S_ISLNK(info.st_mode))
        kind += u" -> "_s + QFile::symLinkTarget(path);
    if (S_ISREG(info.st_mode) && info.st_size < 64 * 1024 * 1024) {
        QFile file(path);
        if (file.open(QIODevice::ReadOnly))
            kind += u" sum "_s + QString::number(qHash(file.readAll()));
    }
    return kind;
}

} // namespace

class TestHostileFiles : public QObject, protected BarFixture
{
    Q_OBJECT

private:
    // Puts the hostile thing at `path`; `good` is text the launcher can use,
    // mixed in where the kind allows. False to skip the row.
    bool make(Kind kind, const QString &path, const QByteArray &good, QString *why);

private Q_SLOTS:
    void init();
    void cleanup();

    void groupFile_data();
    void groupFile();
    void settingsFile_data();
    void settingsFile();
};

void TestHostileFiles::init()
{
    QVERIFY(setUp());
    m_closeAnswer = [] { return ErrorReport::CloseChoice::QuitWithoutSaving; };
}

void TestHostileFiles::cleanup()
{
    QFile::setPermissions(home(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    tearDown();
}

bool TestHostileFiles::make(Kind kind, const QString &path, const QByteArray &good, QString *why)
{
    const QByteArray name = QFile::encodeName(path);
    switch (kind) {
    case Kind::Huge: {
        // Usable text first, then 100 MB without a line break.
        QFile file(path);
        return file.open(QIODevice::WriteOnly) && file.write(good) == good.size() && file.resize(100 * 1024 * 1024);
    }
    case Kind::Binary: {
        QByteArray noise(64 * 1024, Qt::Uninitialized);
        QRandomGenerator random(42);
        random.fillRange(reinterpret_cast<quint32 *>(noise.data()), noise.size() / 4);
        // No byte-order mark at the start, and the usable lines on their own.
        return writeBytes(path, "Z" + noise + "\r\n" + good + "\r\n" + noise);
    }
    case Kind::InvalidUtf8:
        return writeBytes(path, "\xC3(\xFF\xED\xA0\x80,,\xE6\x97\r\n" + good + "\xF8\x88\x80\x80\x80\r\n");
    case Kind::OddUtf16:
        return writeBytes(path, "\xFF\xFE" + utf16(QString::fromUtf8(good)) + "\x41");
    case Kind::NulBytes:
        return writeBytes(path, QByteArray("\0\0,,\0\r\n", 7) + good + QByteArray("\0", 1));
    case Kind::MillionLines: {
        QByteArray bytes = good;
        bytes.reserve(bytes.size() + 1000000 * 4);
        for (int i = 0; i < 1000000; ++i)
            bytes += "x=\r\n";
        return writeBytes(path, bytes);
    }
    case Kind::LongLine:
        return writeBytes(path, good + "/" + QByteArray(1024 * 1024, 'x') + ",,\r\n");
    case Kind::Fifo:
        return ::mkfifo(name.constData(), 0600) == 0;
    case Kind::Device:
        // Root makes a device node of its own (/dev/null's numbers), so no
        // fault of ours could touch the real one; others link to it and
        // could never write there anyway.
        if (::geteuid() == 0)
            return ::mknod(name.constData(), S_IFCHR | 0666, makedev(1, 3)) == 0;
        return QFile::link(u"/dev/null"_s, path);
    case Kind::DanglingLink:
        return QFile::link(home() + u"nowhere/gone"_s, path);
    case Kind::LoopingLink:
        return QFile::link(home() + u"partner"_s, path) && QFile::link(path, home() + u"partner"_s);
    case Kind::NoReadPermission:
        if (::geteuid() == 0) {
            *why = u"root reads any file"_s;
            return false;
        }
        return writeBytes(path, good) && QFile::setPermissions(path, QFile::WriteOwner);
    case Kind::Folder:
        return QDir().mkpath(path);
    }
    return false;
}

void TestHostileFiles::groupFile_data()
{
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<int>("buttons"); // live entries the usable lines make
    QTest::addColumn<bool>("kept");   // never written over

    // Garbage that splits into an entry stands as a greyed button of a file
    // that is not there; a file not read whole, or holding bytes that decode
    // in no character set, is never written, and says so when shown.
    QTest::newRow("100 MB") << Kind::Huge << 2 << true;
    QTest::newRow("binary") << Kind::Binary << 2 << true;
    QTest::newRow("invalid UTF-8") << Kind::InvalidUtf8 << 2 << true;
    QTest::newRow("UTF-16, odd byte count") << Kind::OddUtf16 << 2 << true;
    QTest::newRow("NUL bytes") << Kind::NulBytes << 2 << false;
    QTest::newRow("1 000 000 lines") << Kind::MillionLines << 2 << true;
    QTest::newRow("a line of 1 MB") << Kind::LongLine << 2 << false;
    QTest::newRow("FIFO") << Kind::Fifo << 0 << true;
    QTest::newRow("device") << Kind::Device << 0 << true;
    QTest::newRow("dangling link") << Kind::DanglingLink << 0 << true;
    QTest::newRow("looping link") << Kind::LoopingLink << 0 << true;
    QTest::newRow("no read permission") << Kind::NoReadPermission << 0 << true;
    QTest::newRow("folder") << Kind::Folder << 0 << true;
}

void TestHostileFiles::groupFile()
{
    QFETCH(Kind, kind);
    QFETCH(int, buttons);
    QFETCH(bool, kept);

    QVERIFY(writeBytes(home() + u"a.txt"_s, "a"));
    QVERIFY(writeBytes(home() + u"b.txt"_s, "b"));
    const QByteArray good = (home() + u"a.txt,,A\r\n"_s + home() + u"b.txt,-x,B\r\n"_s).toUtf8();
    const QString path = home() + u"QuillbrookPath.txt"_s;
    QString why;
    if (!make(kind, path, good, &why))
        QSKIP(qPrintable(why.isEmpty() ? u"cannot make the file"_s : why));
    const QString before = describe(path);

    TForm1 form(home());
    form.show();
    const GroupModel &group = *form.LaunchPath[0];
    int live = 0;
    for (qsizetype i = 0; i < group.size(); ++i)
        live += QFileInfo(group.entry(i).fname).isFile();
    QCOMPARE(live, buttons);
    QCOMPARE(m_shown.size(), kept ? 1 : 0);

    const bool saved = form.SaveGroup();
    QCOMPARE(saved, !kept);
    if (kept) {
        QCOMPARE(m_shown.size(), 2);
        QCOMPARE(describe(path), before);
        QVERIFY(!QFileInfo::exists(home() + u"nowhere"_s));
    } else {
        QCOMPARE(BarProbe::LaunchBtn(form).size(), group.size());
    }
    // Nothing but what was there and what was saved.
    const QStringList names = QDir(home()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System
                                                     | QDir::NoDotAndDotDot);
    for (const QString &name : names)
        QVERIFY2(!name.startsWith(u"QuillbrookPath.txt."_s), qPrintable(name));

    form.close();
}

void TestHostileFiles::settingsFile_data()
{
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<int>("left");  // the window's left edge as read from the file
    QTest::addColumn<bool>("kept"); // never written over

    // 670 is the default: nothing could be read.
    QTest::newRow("100 MB") << Kind::Huge << 123 << true;
    QTest::newRow("binary") << Kind::Binary << 123 << false;
    QTest::newRow("invalid UTF-8") << Kind::InvalidUtf8 << 123 << false;
    QTest::newRow("UTF-16, odd byte count") << Kind::OddUtf16 << 123 << false;
    QTest::newRow("NUL bytes") << Kind::NulBytes << 123 << false;
    QTest::newRow("1 000 000 lines") << Kind::MillionLines << 123 << true;
    QTest::newRow("a line of 1 MB") << Kind::LongLine << 123 << false;
    QTest::newRow("FIFO") << Kind::Fifo << 670 << true;
    QTest::newRow("device") << Kind::Device << 670 << true;
    QTest::newRow("dangling link") << Kind::DanglingLink << 670 << true;
    QTest::newRow("looping link") << Kind::LoopingLink << 670 << true;
    QTest::newRow("no read permission") << Kind::NoReadPermission << 670 << true;
    QTest::newRow("folder") << Kind::Folder << 670 << true;
}

void TestHostileFiles::settingsFile()
{
    QFETCH(Kind, kind);
    QFETCH(int, left);
    QFETCH(bool, kept);

    const QString path = home() + u"Quillbrook.ini"_s;
    // A section of our own, then one of the user's that holds the strange
    // part: its lines are not ours and must come out as they went in.
    const QByteArray good = "[Form]\r\nLeft=123\r\n[Mine]\r\n";
    QString why;
    if (!make(kind, path, good, &why))
        QSKIP(qPrintable(why.isEmpty() ? u"cannot make the file"_s : why));
    const QString before = describe(path);
    QFile original(path);
    const QByteArray bytes = !kept && original.open(QIODevice::ReadOnly) ? original.readAll() : QByteArray();

    TForm1 form(home());
    form.show();
    QCOMPARE(form.userGeometry().left, left);

    const bool written = form.WriteIniFile();
    QCOMPARE(written, !kept);
    if (kept) {
        QCOMPARE(m_shown.size(), 1);
        QCOMPARE(describe(path), before);
    } else {
        QVERIFY(m_shown.isEmpty());
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray now = file.readAll();
        // Everything from the user's section on is theirs; our sections
        // follow its last line, which may gain a line break.
        const bool wide = kind == Kind::OddUtf16;
        QByteArray theirs = bytes.mid(bytes.indexOf(wide ? utf16(u"[Mine]"_s) : QByteArray("[Mine]")));
        QVERIFY(theirs.size() > 6);
        if (wide) {
            // The odd byte stays last.
            QVERIFY(now.endsWith(theirs.back()));
            theirs.chop(1);
        }
        QVERIFY2(now.contains(theirs), qPrintable(u"the user's %1 bytes are not all there"_s.arg(theirs.size())));
    }
    m_shown.clear();
    form.close();
}

QTEST_MAIN(TestHostileFiles)
#include "tst_hostilefiles.moc"
