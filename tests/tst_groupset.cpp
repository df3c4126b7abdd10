// SPDX-License-Identifier: MIT
// The five groups behind their one owner: every operation saves at once, is
// laid over another program's change to the file, and tells a failed save.
#include "core/files/FileStamp.h"
#include "core/groups/GroupSet.h"
#include "FaultInjection.h"
#include "GroupSetProbe.h"
#include "TestFiles.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <functional>
#include <memory>

using namespace Qt::StringLiterals;
using TestFiles::readBytes;
using TestFiles::writeBytes;

namespace {

// Not group 0, so that a signal naming the wrong group shows.
constexpr int kGroup = 2;

using Operation = std::function<GroupResult(GroupSet &)>;

// Letter `a` stands for the entry line "/d/a,,A".
QString lineOf(QChar letter)
{
    return u"/d/%1,,%2"_s.arg(letter, letter.toUpper());
}

TRec entryOf(QChar letter)
{
    return {u"/d/"_s + letter, {}, QString(letter.toUpper())};
}

// "a b c": the lines of those entries, in order.
QStringList linesOf(const QString &letters)
{
    QStringList lines;
    for (const QString &letter : letters.split(u' ', Qt::SkipEmptyParts))
        lines.append(lineOf(letter.at(0)));
    return lines;
}

QByteArray fileOf(const QString &letters)
{
    QByteArray bytes;
    for (const QString &line : linesOf(letters))
        bytes += line.toUtf8() + "\r\n";
    return bytes;
}

} // namespace

class TestGroupSet : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<GroupSet> m_groups;

    QString groupPath(int group = kGroup) const { return m_dir->filePath(groupFileName(group)); }
    // The group's file holds `letters` (none: no file), and the set has read it.
    bool start(const QString &letters);
    // Rewrites the file in place, as an editor might, with a time of its own
    // so that the change shows however fast the test runs.
    bool otherProgramWrites(const QString &letters, int group = kGroup);
    QStringList entriesOf(int group = kGroup) const { return m_groups->group(group).lines(); }

private Q_SLOTS:
    void init();
    void cleanup();
    void operationsSaveAtOnce_data();
    void operationsSaveAtOnce();
    void failedWriteKeepsTheChange_data();
    void failedWriteKeepsTheChange();
    void mergesOverAnotherProgramsChange_data();
    void mergesOverAnotherProgramsChange();
    void refusedOperationWritesNothing_data();
    void refusedOperationWritesNothing();
    void readIfChangedOnlyReads();
    void missingHomeFolder_data();
    void missingHomeFolder();
};

void TestGroupSet::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_groups = std::make_unique<GroupSet>(m_dir->path() + u'/');
}

void TestGroupSet::cleanup()
{
    FaultInjection::disarm();
    m_groups.reset();
    m_dir.reset();
}

bool TestGroupSet::start(const QString &letters)
{
    return (letters.isEmpty() || writeBytes(groupPath(), fileOf(letters))) && m_groups->reload(kGroup)
           && entriesOf() == linesOf(letters);
}

bool TestGroupSet::otherProgramWrites(const QString &letters, int group)
{
    QFile file(groupPath(group));
    const QByteArray bytes = fileOf(letters);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size()
           && file.setFileTime(QDateTime::currentDateTime().addSecs(-3600), QFileDevice::FileModificationTime);
}

void TestGroupSet::operationsSaveAtOnce_data()
{
    // Each starts from a group of a, b and c, or from no file at all.
    QTest::addColumn<QString>("before");
    QTest::addColumn<Operation>("operation");
    QTest::addColumn<QString>("after");
    QTest::addColumn<GroupEdit::Kind>("edit");

    QTest::newRow("insert before b") << u"a b c"_s
                                     << Operation([](GroupSet &s) { return s.insert(kGroup, 1, {entryOf(u'x')}); })
                                     << u"a x b c"_s << GroupEdit::Insert;
    QTest::newRow("insert two at the end") << u"a b c"_s << Operation([](GroupSet &s) {
        return s.insert(kGroup, -1, {entryOf(u'x'), entryOf(u'y')});
    }) << u"a b c x y"_s << GroupEdit::Append;
    QTest::newRow("first entry makes the file")
        << QString() << Operation([](GroupSet &s) { return s.insert(kGroup, 0, {entryOf(u'x')}); }) << u"x"_s
        << GroupEdit::Append;
    QTest::newRow("replace") << u"a b c"_s << Operation([](GroupSet &s) { return s.replace(kGroup, 1, entryOf(u'x')); })
                             << u"a x c"_s << GroupEdit::Replace;
    QTest::newRow("move right") << u"a b c"_s << Operation([](GroupSet &s) { return s.move(kGroup, 0, 2); })
                                << u"b c a"_s << GroupEdit::Move;
    QTest::newRow("move left") << u"a b c"_s << Operation([](GroupSet &s) { return s.move(kGroup, 2, 0); })
                               << u"c a b"_s << GroupEdit::Move;
    QTest::newRow("remove") << u"a b c"_s << Operation([](GroupSet &s) { return s.remove(kGroup, 1); }) << u"a c"_s
                            << GroupEdit::Remove;
    QTest::newRow("new order") << u"a b c"_s
                               << Operation([](GroupSet &s) { return s.setLines(kGroup, linesOf(u"c a"_s)); })
                               << u"c a"_s << GroupEdit::Reorder;
}

void TestGroupSet::operationsSaveAtOnce()
{
    QFETCH(QString, before);
    QFETCH(Operation, operation);
    QFETCH(QString, after);

    QVERIFY(start(before));
    QSignalSpy changed(m_groups.get(), &GroupSet::changed);
    QSignalSpy saved(m_groups.get(), &GroupSet::saved);
    QSignalSpy failed(m_groups.get(), &GroupSet::saveFailed);

    QVERIFY(operation(*m_groups));
    QCOMPARE(readBytes(groupPath()), fileOf(after));
    QCOMPARE(entriesOf(), linesOf(after));
    QVERIFY(!m_groups->group(kGroup).hasUnsavedChanges());
    // Our own save is no change of another program's.
    QVERIFY(!m_groups->group(kGroup).changedOnDisk());
    QCOMPARE(changed.size(), 1);
    QCOMPARE(changed.first().first().toInt(), kGroup);
    QCOMPARE(saved.size(), 1);
    QCOMPARE(saved.first().first().toInt(), kGroup);
    QCOMPARE(failed.size(), 0);
    // Only the group operated on has a file.
    for (int group = 0; group < kGroupCount; ++group)
        QCOMPARE(QFileInfo::exists(groupPath(group)), group == kGroup);
}

void TestGroupSet::failedWriteKeepsTheChange_data()
{
    operationsSaveAtOnce_data();
}

void TestGroupSet::failedWriteKeepsTheChange()
{
    QFETCH(QString, before);
    QFETCH(Operation, operation);
    QFETCH(QString, after);
    QFETCH(GroupEdit::Kind, edit);

    QVERIFY(start(before));
    const QByteArray fileBefore = readBytes(groupPath());
    QSignalSpy saved(m_groups.get(), &GroupSet::saved);
    QSignalSpy failed(m_groups.get(), &GroupSet::saveFailed);

    // The save's temporary file, as the kernel names it, fails its write.
    FaultInjection::failNext(FaultInjection::Call::Write,
                             QFile::encodeName(QFileInfo(m_dir->path()).canonicalFilePath() + u'/'
                                               + groupFileName(kGroup) + u'.'),
                             EIO);
    QCOMPARE(operation(*m_groups).failure, GroupResult::WriteFailed);
    QCOMPARE(FaultInjection::disarm(), 1);
    QCOMPARE(readBytes(groupPath()), fileBefore);
    QCOMPARE(saved.size(), 0);
    QCOMPARE(failed.size(), 1);
    QCOMPARE(failed.first().at(0).toInt(), kGroup);
    const auto result = failed.first().at(1).value<GroupResult>();
    QCOMPARE(result.failure, GroupResult::WriteFailed);
    QVERIFY(!result.error.isEmpty());
    QCOMPARE(failed.first().at(2).value<GroupEdit>().kind, edit);
    // The change stays in memory, where the next save finds it.
    QVERIFY(m_groups->group(kGroup).hasUnsavedChanges());
    QCOMPARE(entriesOf(), linesOf(after));

    QVERIFY(m_groups->save(kGroup));
    QCOMPARE(readBytes(groupPath()), fileOf(after));
    QVERIFY(!m_groups->group(kGroup).hasUnsavedChanges());
    QCOMPARE(saved.size(), 1);
    QCOMPARE(failed.size(), 1);
}

void TestGroupSet::mergesOverAnotherProgramsChange_data()
{
    // The set read a, b and c; another program then wrote `other`. The
    // operation's edit is made to the other program's lines, or refused.
    QTest::addColumn<Operation>("operation");
    QTest::addColumn<QString>("other");
    QTest::addColumn<QString>("after");
    QTest::addColumn<bool>("refused");
    QTest::addColumn<GroupEdit::Kind>("edit");

    const auto insertX = Operation([](GroupSet &s) { return s.insert(kGroup, 1, {entryOf(u'x')}); });
    const auto moveARight = Operation([](GroupSet &s) { return s.move(kGroup, 0, 2); });
    const auto removeB = Operation([](GroupSet &s) { return s.remove(kGroup, 1); });
    const auto replaceB = Operation([](GroupSet &s) { return s.replace(kGroup, 1, entryOf(u'x')); });

    QTest::newRow("insert lands before its entry")
        << insertX << u"d c b a"_s << u"d c x b a"_s << false << GroupEdit::Insert;
    QTest::newRow("insert before a gone entry appends")
        << insertX << u"a c"_s << u"a c x"_s << false << GroupEdit::Insert;
    QTest::newRow("append") << Operation([](GroupSet &s) { return s.insert(kGroup, 3, {entryOf(u'x')}); })
                            << u"d c b a"_s << u"d c b a x"_s << false << GroupEdit::Append;
    QTest::newRow("move right stays after its neighbour")
        << moveARight << u"d a b c e"_s << u"d b c a e"_s << false << GroupEdit::Move;
    QTest::newRow("move left stays before its neighbour")
        << Operation([](GroupSet &s) { return s.move(kGroup, 2, 0); }) << u"d a b e c"_s << u"d c a b e"_s << false
        << GroupEdit::Move;
    QTest::newRow("move whose neighbour is gone") << moveARight << u"a b d"_s << u"a b d"_s << true << GroupEdit::Move;
    QTest::newRow("remove") << removeB << u"d a b c"_s << u"d a c"_s << false << GroupEdit::Remove;
    QTest::newRow("remove what is gone already") << removeB << u"a c d"_s << u"a c d"_s << false << GroupEdit::Remove;
    QTest::newRow("replace") << replaceB << u"a b c d"_s << u"a x c d"_s << false << GroupEdit::Replace;
    QTest::newRow("replace what is gone") << replaceB << u"a c d"_s << u"a c d"_s << true << GroupEdit::Replace;
    QTest::newRow("new order") << Operation([](GroupSet &s) { return s.setLines(kGroup, linesOf(u"c b a"_s)); })
                               << u"a b c d"_s << u"a b c d"_s << true << GroupEdit::Reorder;
}

void TestGroupSet::mergesOverAnotherProgramsChange()
{
    QFETCH(Operation, operation);
    QFETCH(QString, other);
    QFETCH(QString, after);
    QFETCH(bool, refused);
    QFETCH(GroupEdit::Kind, edit);

    QVERIFY(start(u"a b c"_s));
    QVERIFY(otherProgramWrites(other));
    QSignalSpy changed(m_groups.get(), &GroupSet::changed);
    QSignalSpy saved(m_groups.get(), &GroupSet::saved);
    QSignalSpy failed(m_groups.get(), &GroupSet::saveFailed);

    const GroupResult result = operation(*m_groups);
    QCOMPARE(result.failure, refused ? GroupResult::EditRefused : GroupResult::None);
    QCOMPARE(readBytes(groupPath()), fileOf(after));
    // Either way the group is the file's as it is now.
    QCOMPARE(entriesOf(), linesOf(after));
    QVERIFY(!m_groups->group(kGroup).hasUnsavedChanges());
    QVERIFY(!m_groups->group(kGroup).changedOnDisk());
    QVERIFY(!changed.isEmpty());
    QCOMPARE(changed.last().at(0).toInt(), kGroup);
    QVERIFY(changed.last().at(1).value<GroupChange>().loaded);
    QCOMPARE(saved.size(), refused ? 0 : 1);
    QCOMPARE(failed.size(), refused ? 1 : 0);
    if (refused) {
        QCOMPARE(failed.first().at(0).toInt(), kGroup);
        QCOMPARE(failed.first().at(1).value<GroupResult>().failure, GroupResult::EditRefused);
        QCOMPARE(failed.first().at(2).value<GroupEdit>().kind, edit);
    }
}

void TestGroupSet::refusedOperationWritesNothing_data()
{
    QTest::addColumn<Operation>("operation");
    QTest::addColumn<GroupResult::Failure>("failure");

    QTest::newRow("insert a line break") << Operation([](GroupSet &s) {
        return s.insert(kGroup, 0, {TRec{u"/d/a\nb"_s, {}, {}}});
    }) << GroupResult::NotAnEntry;
    QTest::newRow("insert without a file")
        << Operation([](GroupSet &s) { return s.insert(kGroup, 0, {TRec{}}); }) << GroupResult::NotAnEntry;
    QTest::newRow("replace past the end")
        << Operation([](GroupSet &s) { return s.replace(kGroup, 3, entryOf(u'x')); }) << GroupResult::BadPosition;
    QTest::newRow("replace with a break in the hint") << Operation([](GroupSet &s) {
        return s.replace(kGroup, 0, TRec{u"/d/x"_s, {}, u"x\ry"_s});
    }) << GroupResult::NotAnEntry;
    QTest::newRow("move to nowhere") << Operation([](GroupSet &s) { return s.move(kGroup, 0, 3); })
                                     << GroupResult::BadPosition;
    QTest::newRow("move in place") << Operation([](GroupSet &s) { return s.move(kGroup, 1, 1); })
                                   << GroupResult::BadPosition;
    QTest::newRow("remove nothing") << Operation([](GroupSet &s) { return s.remove(kGroup, -1); })
                                    << GroupResult::BadPosition;
    QTest::newRow("new order with a line break")
        << Operation([](GroupSet &s) { return s.setLines(kGroup, {u"/d/a\r\n/d/b"_s}); }) << GroupResult::NotAnEntry;
}

void TestGroupSet::refusedOperationWritesNothing()
{
    QFETCH(Operation, operation);
    QFETCH(GroupResult::Failure, failure);

    QVERIFY(start(u"a b c"_s));
    // A rewrite, even of the same bytes, would be a new file by rename.
    const FileStamp stampBefore = fileStamp(groupPath());
    QSignalSpy changed(m_groups.get(), &GroupSet::changed);
    QSignalSpy saved(m_groups.get(), &GroupSet::saved);
    QSignalSpy failed(m_groups.get(), &GroupSet::saveFailed);

    QCOMPARE(operation(*m_groups).failure, failure);
    QCOMPARE(fileStamp(groupPath()), stampBefore);
    QCOMPARE(entriesOf(), linesOf(u"a b c"_s));
    QVERIFY(!m_groups->group(kGroup).hasUnsavedChanges());
    QCOMPARE(changed.size(), 0);
    QCOMPARE(saved.size(), 0);
    QCOMPARE(failed.size(), 0);
}

void TestGroupSet::readIfChangedOnlyReads()
{
    // Group 0 unchanged since read; 1 changed by another program; 2 changed
    // too but holding an unsaved change; 3 never read; 4 never read and
    // without a file.
    for (int group = 0; group < 3; ++group) {
        QVERIFY(writeBytes(groupPath(group), fileOf(u"a b"_s)));
        QVERIFY(m_groups->reload(group));
    }
    QVERIFY(otherProgramWrites(u"c"_s, 1));
    QVERIFY(otherProgramWrites(u"c"_s, 2));
    QVERIFY(GroupSetProbe::unsavedModel(*m_groups, 2).append({entryOf(u'x')}));
    QVERIFY(writeBytes(groupPath(3), fileOf(u"d e"_s)));
    QMap<int, FileStamp> stamps;
    for (int group = 0; group < kGroupCount; ++group)
        stamps.insert(group, fileStamp(groupPath(group)));

    QSignalSpy changed(m_groups.get(), &GroupSet::changed);
    QSignalSpy saved(m_groups.get(), &GroupSet::saved);
    for (int group = 0; group < kGroupCount; ++group)
        m_groups->readIfChanged(group);
    QList<int> read;
    for (const QList<QVariant> &signal : std::as_const(changed))
        read.append(signal.at(0).toInt());
    QCOMPARE(read, (QList<int>{1, 3, 4}));
    QCOMPARE(entriesOf(0), linesOf(u"a b"_s));
    QCOMPARE(entriesOf(1), linesOf(u"c"_s));
    QCOMPARE(entriesOf(2), linesOf(u"a b x"_s));
    QVERIFY(m_groups->group(2).hasUnsavedChanges());
    QCOMPARE(entriesOf(3), linesOf(u"d e"_s));
    QCOMPARE(entriesOf(4), QStringList());
    // Never a write, not even of the unsaved change.
    QCOMPARE(saved.size(), 0);
    for (int group = 0; group < kGroupCount; ++group)
        QCOMPARE(fileStamp(groupPath(group)), stamps.value(group));
    QVERIFY(!QFileInfo::exists(groupPath(4)));

    // Read once, a group is not read again until its file changes.
    changed.clear();
    for (int group = 0; group < kGroupCount; ++group)
        m_groups->readIfChanged(group);
    QCOMPARE(changed.size(), 0);
}

void TestGroupSet::missingHomeFolder_data()
{
    QTest::addColumn<bool>("createFolder");
    QTest::newRow("made at a save") << true;
    QTest::newRow("left missing") << false;
}

void TestGroupSet::missingHomeFolder()
{
    QFETCH(bool, createFolder);

    const QString home = m_dir->filePath(u"not/yet"_s);
    GroupSet groups(home + u'/');
    groups.setCreateFolder(createFolder);
    QVERIFY(groups.reload(kGroup));
    QSignalSpy saved(&groups, &GroupSet::saved);
    QSignalSpy failed(&groups, &GroupSet::saveFailed);

    const GroupResult result = groups.insert(kGroup, 0, {entryOf(u'a')});
    QCOMPARE(result.failure, createFolder ? GroupResult::None : GroupResult::WriteFailed);
    QCOMPARE(saved.size(), createFolder ? 1 : 0);
    QCOMPARE(failed.size(), createFolder ? 0 : 1);
    QCOMPARE(QFileInfo(home).isDir(), createFolder);
    QCOMPARE(readBytes(home + u'/' + groupFileName(kGroup)), createFolder ? fileOf(u"a"_s) : "<missing>");
    QCOMPARE(groups.group(kGroup).hasUnsavedChanges(), !createFolder);
}

QTEST_GUILESS_MAIN(TestGroupSet)
#include "tst_groupset.moc"
