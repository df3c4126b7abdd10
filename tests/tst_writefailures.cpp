// SPDX-License-Identifier: MIT
// Writes that fail as on a full disk or in a read-only folder: every command
// that saves shows its message, the old files stay as they were, nothing is
// left behind, and the bar goes on and can still be ended.
#include "app/Unit1.h"
#include "core/files/SystemReason.h"
#include "launcher/LaunchButton.h"
#include "BarFixture.h"
#include "BarProbe.h"
#include "FaultInjection.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTest>
#include <QTranslator>

#include <csignal>
#include <fcntl.h>
#include <linux/fs.h>
#include <sched.h>
#include <sys/ioctl.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <functional>

using namespace Qt::StringLiterals;

namespace {

using TestFiles::readBytes;
using TestFiles::writeBytes;

QMap<QString, QByteArray> snapshot(const QString &dir)
{
    QMap<QString, QByteArray> files;
    const QStringList names = QDir(dir).entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString &name : names)
        files.insert(name, readBytes(QDir(dir).filePath(name)));
    return files;
}

bool setImmutable(const QString &path, bool on)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_DIRECTORY);
    if (fd < 0)
        return false;
    int flags = 0;
    bool ok = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    flags = on ? flags | FS_IMMUTABLE_FL : flags & ~FS_IMMUTABLE_FL;
    ok = ok && ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    ::close(fd);
    return ok;
}

enum class Fault { FileSizeLimit, FullFilesystem, ReadOnlyFolder };

enum class Saved { GroupFile, SettingsFile };

} // namespace

Q_DECLARE_METATYPE(FaultInjection::Call)

class TestWriteFailures : public QObject, protected BarFixture
{
    Q_OBJECT

private:
    bool m_ownMounts = false; // a private mount namespace: mounts vanish with us
    QString m_home;           // a folder of its own, for a file system to be mounted on
    std::function<void()> m_lift;

    // Makes every write in m_home fail; m_lift undoes it. False to skip.
    bool applyFault(Fault fault, QString *why);
    bool mountTmpfs(QString *why);

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void everySaveFailsSafely_data();
    void everySaveFailsSafely();
    void saveKeepsOwner_data();
    void saveKeepsOwner();
    void failedStepKeepsOldFile_data();
    void failedStepKeepsOldFile();
    void interruptedWritesComplete_data();
    void interruptedWritesComplete();
    void messageSpeaksOneLanguage_data();
    void messageSpeaksOneLanguage();

private:
    // The user's files: one group of one entry and hand-edited settings.
    void writeUserFiles();
    // Saves the group with one more entry, or the settings; true when the
    // save reported no failure.
    bool save(TForm1 &form, Saved saved);
};

void TestWriteFailures::initTestCase()
{
    // Root ignores permission bits: a read-only folder needs a read-only
    // mount, and a full disk a small file system of its own.
    if (::geteuid() == 0 && ::unshare(CLONE_NEWNS) == 0)
        m_ownMounts = ::mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
}

void TestWriteFailures::init()
{
    QVERIFY(setUp());
    m_home = file(u"home"_s);
    QVERIFY(QDir().mkpath(m_home));
    // The question a failed close asks counts among the messages here.
    m_closeAnswer = [this] {
        m_shown.append(m_asked.last());
        return ErrorReport::CloseChoice::Stay;
    };
}

void TestWriteFailures::cleanup()
{
    if (m_lift)
        m_lift();
    m_lift = nullptr;
    tearDown();
}

bool TestWriteFailures::mountTmpfs(QString *why)
{
    if (!m_ownMounts) {
        *why = u"mounting needs root and a mount namespace of our own"_s;
        return false;
    }
    const QByteArray home = QFile::encodeName(m_home);
    if (::mount("tmpfs", home.constData(), "tmpfs", 0, "size=1m,mode=0755") != 0) {
        *why = u"cannot mount a tmpfs"_s;
        return false;
    }
    m_lift = [home] { ::umount2(home.constData(), MNT_DETACH); };
    return true;
}

bool TestWriteFailures::applyFault(Fault fault, QString *why)
{
    const QByteArray home = QFile::encodeName(m_home);
    switch (fault) {
    case Fault::FileSizeLimit: {
        // No file may grow beyond a few bytes; the signal a write past the
        // limit raises is ignored, so the write fails as on a full disk.
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit old{};
        ::getrlimit(RLIMIT_FSIZE, &old);
        rlimit tiny = old;
        tiny.rlim_cur = 16;
        if (::setrlimit(RLIMIT_FSIZE, &tiny) != 0) {
            *why = u"cannot lower the file size limit"_s;
            return false;
        }
        m_lift = [old] { ::setrlimit(RLIMIT_FSIZE, &old); };
        return true;
    }
    case Fault::FullFilesystem: {
        // The tmpfs is already mounted on m_home: fill what is left.
        QFile filler(m_home + u"/filler"_s);
        if (!filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
            *why = u"cannot create the filler"_s;
            return false;
        }
        const QByteArray block(4096, 'f');
        while (filler.write(block) == block.size()) {
        }
        return true;
    }
    case Fault::ReadOnlyFolder:
        if (::geteuid() != 0) {
            if (!QFile::setPermissions(m_home, QFile::ReadOwner | QFile::ExeOwner)) {
                *why = u"cannot change the folder's permissions"_s;
                return false;
            }
            m_lift = [this] { QFile::setPermissions(m_home, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner); };
            return true;
        }
        if (m_ownMounts && ::mount(home.constData(), home.constData(), nullptr, MS_BIND, nullptr) == 0) {
            m_lift = [home] { ::umount2(home.constData(), MNT_DETACH); };
            if (::mount(nullptr, home.constData(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr) == 0)
                return true;
        }
        if (setImmutable(m_home, true)) {
            m_lift = [this] { setImmutable(m_home, false); };
            return true;
        }
        *why = u"as root, a read-only folder needs a bind mount or the immutable attribute"_s;
        return false;
    }
    return false;
}

void TestWriteFailures::everySaveFailsSafely_data()
{
    QTest::addColumn<Fault>("fault");
    QTest::newRow("file size limit") << Fault::FileSizeLimit;
    QTest::newRow("full tmpfs") << Fault::FullFilesystem;
    QTest::newRow("read-only folder") << Fault::ReadOnlyFolder;
}

void TestWriteFailures::everySaveFailsSafely()
{
    QFETCH(Fault, fault);
    QString why;
    if (fault == Fault::FullFilesystem && !mountTmpfs(&why))
        QSKIP(qPrintable(why));

    // The user's files: two groups and hand-edited settings.
    const QString home = m_home + u'/';
    QStringList entries;
    for (const QString &name : {u"one.txt"_s, u"two.txt"_s, u"three.txt"_s}) {
        QVERIFY(writeBytes(home + name, "x"));
        entries.append(home + name + u",,"_s + name);
    }
    QVERIFY(writeBytes(home + u"QuillbrookPath.txt"_s, entries.join(u"\r\n"_s).toUtf8() + "\r\n"));
    QVERIFY(writeBytes(home + u"QuillbrookPath1.txt"_s, (home + u"one.txt,,One\r\n"_s).toUtf8()));
    QVERIFY(writeBytes(home + u"Quillbrook.ini"_s, "; mine\r\n[Form]\r\nLeft=100\r\n[Menu]\r\nName0=Tools\r\n"));

    TForm1 form(home);
    QSignalSpy closed(&form, &TForm1::closed);
    form.show();
    QCOMPARE(BarProbe::LaunchBtn(form).size(), 3);
    const QMap<QString, QByteArray> before = snapshot(m_home);

    if (!applyFault(fault, &why))
        QSKIP(qPrintable(why));
    const QMap<QString, QByteArray> withFault = snapshot(m_home);

    const QString groupFile = home + u"QuillbrookPath.txt"_s;
    const QString iniFile = home + u"Quillbrook.ini"_s;
    const QList<std::pair<QString, std::function<void()>>> commands = {
        {u"save the group"_s, [&] { QVERIFY(!form.SaveGroup()); }},
        {u"save the settings"_s, [&] { QVERIFY(!form.WriteIniFile()); }},
        {u"settings save command"_s, [&] { BarProbe::SaveMenuClick(form); }},
        {u"drop a file"_s, [&] { form.DropTarget1Dropped({home + u"two.txt"_s}); }},
        {u"delete an entry"_s,
         [&] {
             BarProbe::ButtonMouseEnter(form, BarProbe::LaunchBtn(form).first());
             form.DelBtnClick();
         }},
        {u"leave registration mode"_s,
         [&] {
             form.AddMenuClick();
             QVERIFY(m_shown.isEmpty());
             form.AddMenuClick();
         }},
        {u"switch groups"_s, [&] { form.MenuClick(1); }},
    };
    for (const auto &[name, command] : commands) {
        m_shown.clear();
        command();
        QCoreApplication::processEvents();
        QVERIFY2(m_shown.size() == 1, qPrintable(name + u": "_s + m_shown.join(u" | "_s)));
        const QString &message = m_shown.first();
        QVERIFY2(message.contains(groupFile) || message.contains(iniFile), qPrintable(message));
        QVERIFY2(snapshot(m_home) == withFault, qPrintable(name + u" changed the folder"_s));
    }
    QCOMPARE(form.MenuIndex(), 1);
    QCOMPARE(BarProbe::LaunchBtn(form).size(), 1);

    // Ending asks what to do; staying keeps the bar.
    m_shown.clear();
    form.close();
    QCOMPARE(m_shown.size(), 1);
    QVERIFY(form.isVisible());
    QCOMPARE(closed.size(), 0);

    // Once writing works again, so does the bar.
    if (fault == Fault::FullFilesystem) {
        QVERIFY(QFile::remove(home + u"filler"_s));
    } else if (m_lift) {
        m_lift();
        m_lift = nullptr;
    }
    QCOMPARE(snapshot(m_home), before);
    m_shown.clear();
    QVERIFY(form.WriteIniFile());
    QVERIFY(readBytes(iniFile).startsWith("; mine\r\n[Form]\r\n"));
    QVERIFY(readBytes(iniFile).contains("Index=1"));
    form.close();
    QCOMPARE(closed.size(), 1);
    QVERIFY(m_shown.isEmpty());
}

void TestWriteFailures::saveKeepsOwner_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("settings file") << u"Quillbrook.ini"_s;
    QTest::newRow("group file") << u"QuillbrookPath.txt"_s;
}

void TestWriteFailures::saveKeepsOwner()
{
    QFETCH(QString, name);
    if (::geteuid() != 0)
        QSKIP("giving a file to another user needs root");

    // The user's files, and root starting the launcher in their folder.
    const QString home = m_home + u'/';
    QVERIFY(writeBytes(home + u"one.txt"_s, "x"));
    QVERIFY(writeBytes(home + u"QuillbrookPath.txt"_s, (home + u"one.txt,,One\r\n"_s).toUtf8()));
    QVERIFY(writeBytes(home + u"Quillbrook.ini"_s, "[Form]\r\nLeft=100\r\n"));
    const QByteArray path = QFile::encodeName(home + name);
    constexpr uid_t kNobody = 65534;
    constexpr gid_t kNogroup = 65534;
    QCOMPARE(::chown(path.constData(), kNobody, kNogroup), 0);
    QCOMPARE(::chmod(path.constData(), 0640), 0);
    struct stat before {};
    QCOMPARE(::stat(path.constData(), &before), 0);

    TForm1 form(home);
    form.show();
    QCOMPARE(BarProbe::LaunchBtn(form).size(), 1);
    QVERIFY(form.WriteIniFile());
    QVERIFY(form.SaveGroup());

    struct stat after {};
    QCOMPARE(::stat(path.constData(), &after), 0);
    QVERIFY(after.st_ino != before.st_ino); // replaced, not written in place
    QCOMPARE(after.st_uid, kNobody);
    QCOMPARE(after.st_gid, kNogroup);
    QCOMPARE(after.st_mode & 07777, mode_t(0640));
    QVERIFY(m_shown.isEmpty());
    QVERIFY(form.close());
}

void TestWriteFailures::writeUserFiles()
{
    const QString home = m_home + u'/';
    QVERIFY(writeBytes(home + u"one.txt"_s, "x"));
    QVERIFY(writeBytes(home + u"two.txt"_s, "x"));
    QVERIFY(writeBytes(home + u"QuillbrookPath.txt"_s, (home + u"one.txt,,One\r\n"_s).toUtf8()));
    QVERIFY(writeBytes(home + u"Quillbrook.ini"_s, "; mine\r\n[Form]\r\nLeft=100\r\n"));
}

bool TestWriteFailures::save(TForm1 &form, Saved saved)
{
    if (saved == Saved::SettingsFile)
        return form.WriteIniFile();
    const qsizetype shown = m_shown.size();
    form.DropTarget1Dropped({m_home + u"/two.txt"_s});
    return m_shown.size() == shown;
}

void TestWriteFailures::failedStepKeepsOldFile_data()
{
    QTest::addColumn<FaultInjection::Call>("call");
    QTest::addColumn<Saved>("saved");
    // Only the folder's sync comes after the rename: the file is new by then.
    QTest::addColumn<bool>("replaced");
    const std::pair<const char *, FaultInjection::Call> calls[] = {
        {"write", FaultInjection::Call::Write},        {"fdatasync", FaultInjection::Call::Fdatasync},
        {"fchmod", FaultInjection::Call::Fchmod},      {"close", FaultInjection::Call::Close},
        {"folder fsync", FaultInjection::Call::Fsync},
    };
    for (const auto &[name, call] : calls) {
        const bool replaced = call == FaultInjection::Call::Fsync;
        QTest::addRow("%s, group file", name) << call << Saved::GroupFile << replaced;
        QTest::addRow("%s, settings file", name) << call << Saved::SettingsFile << replaced;
    }
}

void TestWriteFailures::failedStepKeepsOldFile()
{
    QFETCH(FaultInjection::Call, call);
    QFETCH(Saved, saved);
    QFETCH(bool, replaced);

    writeUserFiles();
    const QString name = saved == Saved::GroupFile ? u"QuillbrookPath.txt"_s : u"Quillbrook.ini"_s;
    const QString path = m_home + u'/' + name;
    TForm1 form(m_home + u'/');
    form.show();
    QCOMPARE(BarProbe::LaunchBtn(form).size(), 1);
    const QMap<QString, QByteArray> before = snapshot(m_home);

    // The fault hits the save's own temporary file, or for the sync after
    // the rename the folder itself, as the kernel names them.
    const QString folder = QFileInfo(m_home).canonicalFilePath();
    const QString target = call == FaultInjection::Call::Fsync ? folder : folder + u'/' + name + u'.';
    FaultInjection::failNext(call, QFile::encodeName(target), EIO);
    QVERIFY(!save(form, saved));
    QCOMPARE(FaultInjection::disarm(), 1);

    QCOMPARE(m_shown.size(), 1);
    QVERIFY2(m_shown[0].contains(path) && m_shown[0].contains(systemReason(EIO)), qPrintable(m_shown[0]));
    const QMap<QString, QByteArray> after = snapshot(m_home);
    QCOMPARE(after.keys(), before.keys()); // no temporary file left behind
    if (replaced)
        QVERIFY(after[name] != before[name]);
    else
        QCOMPARE(after[name], before[name]);

    // The next save, with nothing failing, goes through.
    m_shown.clear();
    QVERIFY(save(form, saved));
    QVERIFY(m_shown.isEmpty());
    QVERIFY(readBytes(path) != before[name]);
    QCOMPARE(QFile::permissions(path), QFile::permissions(m_home + u"/one.txt"_s));
}

void TestWriteFailures::messageSpeaksOneLanguage_data()
{
    QTest::addColumn<int>("error");
    QTest::addColumn<bool>("english");
    QTest::addColumn<bool>("fileThere");
    QTest::addColumn<QString>("message"); // %1 stands for the group file's path

    const struct {
        const char *name;
        int error;
        QString japanese, english;
    } reasons[] = {
        {"EACCES", EACCES, u"アクセスが許可されていません。"_s, u"Permission denied."_s},
        {"EPERM", EPERM, u"アクセスが許可されていません。"_s, u"Permission denied."_s},
        {"EROFS", EROFS, u"読み取り専用のファイルシステムです。"_s, u"The file system is read-only."_s},
        {"ENOSPC", ENOSPC, u"ディスクの空き容量が足りません。"_s, u"The disk is full."_s},
        {"EDQUOT", EDQUOT, u"ディスク使用量の上限に達しています。"_s, u"The disk quota is used up."_s},
        {"ENOENT", ENOENT, u"ファイルまたはフォルダが見つかりません。"_s, u"The file or folder does not exist."_s},
        {"EIO", EIO, u"ディスクの読み書きでエラーが起きました。"_s, u"The disk could not be read or written."_s},
        // No text of ours: the system's own, in both languages.
        {"ETXTBSY", ETXTBSY, qt_error_string(ETXTBSY), qt_error_string(ETXTBSY)},
    };
    for (const auto &reason : reasons) {
        QTest::addRow("%s, written, Japanese", reason.name)
            << reason.error << false << true << u"ファイル \"%1\" に書き込めません。"_s + reason.japanese;
        QTest::addRow("%s, written, English", reason.name)
            << reason.error << true << true << u"Cannot write to the file \"%1\". "_s + reason.english;
    }
    // A group's first entry makes its file.
    QTest::newRow("EACCES, made, Japanese")
        << EACCES << false << false << u"ファイル \"%1\" を作成できません。アクセスが許可されていません。"_s;
    QTest::newRow("EACCES, made, English")
        << EACCES << true << false << u"Cannot create the file \"%1\". Permission denied."_s;
}

void TestWriteFailures::messageSpeaksOneLanguage()
{
    QFETCH(int, error);
    QFETCH(bool, english);
    QFETCH(bool, fileThere);
    QFETCH(QString, message);

    QTranslator translator;
    if (english) {
        QVERIFY(translator.load(u":/i18n/quillbrook_en.qm"_s));
        QCoreApplication::installTranslator(&translator);
    }
    const QString path = m_home + u"/QuillbrookPath.txt"_s;
    QVERIFY(writeBytes(m_home + u"/two.txt"_s, "x"));
    if (fileThere)
        QVERIFY(writeBytes(path, (m_home + u"/one.txt,,One\r\n"_s).toUtf8()));
    TForm1 form(m_home + u'/');

    FaultInjection::failNext(FaultInjection::Call::Write,
                             QFile::encodeName(QFileInfo(m_home).canonicalFilePath() + u"/QuillbrookPath.txt."_s),
                             error);
    QVERIFY(!save(form, Saved::GroupFile));
    QCOMPARE(FaultInjection::disarm(), 1);
    QCoreApplication::removeTranslator(&translator);
    QCOMPARE(m_shown.value(0), message.arg(path));
}

void TestWriteFailures::interruptedWritesComplete_data()
{
    QTest::addColumn<FaultInjection::Call>("call");
    QTest::addColumn<int>("error");
    QTest::addColumn<Saved>("saved");
    QTest::newRow("interrupted, group file") << FaultInjection::Call::Write << EINTR << Saved::GroupFile;
    QTest::newRow("interrupted, settings file") << FaultInjection::Call::Write << EINTR << Saved::SettingsFile;
    QTest::newRow("short, group file") << FaultInjection::Call::ShortWrite << 0 << Saved::GroupFile;
    QTest::newRow("short, settings file") << FaultInjection::Call::ShortWrite << 0 << Saved::SettingsFile;
}

void TestWriteFailures::interruptedWritesComplete()
{
    QFETCH(FaultInjection::Call, call);
    QFETCH(int, error);
    QFETCH(Saved, saved);

    writeUserFiles();
    const QString name = saved == Saved::GroupFile ? u"QuillbrookPath.txt"_s : u"Quillbrook.ini"_s;
    TForm1 form(m_home + u'/');
    form.show();
    const QString target = QFileInfo(m_home).canonicalFilePath() + u'/' + name + u'.';
    FaultInjection::failNext(call, QFile::encodeName(target), error);
    QVERIFY(save(form, saved));
    QCOMPARE(FaultInjection::disarm(), 1);
    QVERIFY(m_shown.isEmpty());

    // Whole: a save without the fault writes the very same bytes.
    const QByteArray written = readBytes(m_home + u'/' + name);
    if (saved == Saved::GroupFile) {
        QVERIFY2(written.contains("/two.txt,"), written.constData());
        QVERIFY(form.SaveGroup());
    } else {
        QVERIFY(form.WriteIniFile());
    }
    QCOMPARE(readBytes(m_home + u'/' + name), written);
}

QTEST_MAIN(TestWriteFailures)
#include "tst_writefailures.moc"
