// SPDX-License-Identifier: MIT
// Finding entries across the five groups: the order of the matches, the
// texts an entry is found by, and the other groups' files only read.
#include "core/filter/EntrySearch.h"
#include "core/groups/GroupSet.h"
#include "GroupSetProbe.h"
#include "TestFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

#include <memory>

using namespace Qt::StringLiterals;

class TestEntrySearch : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void order();
    void foundByDesktopNamesAndHint();
    void otherGroupsReadNotWritten();
    void followsAChangedGroup();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<GroupSet> m_groups;

    QString path(const QString &name) const { return m_dir->filePath(name); }
    void writeGroup(int group, const QStringList &lines)
    {
        QVERIFY(TestFiles::writeBytes(path(groupFileName(group)), lines.join(u'\n').toUtf8() + '\n'));
    }
    // "group:index" for each match, in order.
    static QStringList refs(const QList<EntryRef> &found)
    {
        QStringList out;
        for (const EntryRef &e : found)
            out.append(u"%1:%2"_s.arg(e.group).arg(e.index));
        return out;
    }
};

void TestEntrySearch::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_groups = std::make_unique<GroupSet>(m_dir->path() + u'/');
}

void TestEntrySearch::cleanup()
{
    m_groups.reset();
    m_dir.reset();
}

void TestEntrySearch::order()
{
    // Word starts before insides before gaps; in each, the current group
    // (2) first, then the others in order, each in its own order.
    writeGroup(0, {u"/d/mynotes.txt"_s, u"/d/notes-0.txt"_s});
    writeGroup(1, {u"/d/n-o-t-e-s.txt"_s});
    writeGroup(2, {u"/d/keynotes"_s, u"/d/other"_s, u"/d/Notes 2"_s});
    writeGroup(4, {u"/d/notes-4"_s});
    EntrySearch search(*m_groups, {});
    search.readOtherGroups(2);
    QVERIFY((*m_groups)[2]->changedOnDisk()); // the current group is the bar's to read
    m_groups->reload(2);
    QCOMPARE(refs(search.find(u"notes"_s, 2)),
             (QStringList{u"2:2"_s, u"0:1"_s, u"4:0"_s, u"2:0"_s, u"0:0"_s, u"1:0"_s}));
    QCOMPARE(refs(search.find(u"zzz"_s, 2)), QStringList{});
    QCOMPARE(refs(search.find(u""_s, 2)), QStringList{});
}

void TestEntrySearch::foundByDesktopNamesAndHint()
{
    const QString editor = path(u"editor.desktop"_s);
    QVERIFY(TestFiles::writeBytes(editor, "[Desktop Entry]\nType=Application\nName=Text Editor\n"
                                          "Name[ja]=テキストエディタ\nGenericName[ja]=メモ帳\nKeywords[ja]=文書;\n"));
    // A FIFO named like a desktop entry must not block the search.
    const QString fifo = path(u"trap.desktop"_s);
    QCOMPARE(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    writeGroup(0, {editor, fifo, u"/d/tool,,my calculator"_s});
    EntrySearch search(*m_groups, {u"ja"_s});
    search.readOtherGroups(1);
    QCOMPARE(refs(search.find(u"てきすと"_s, 1)), QStringList{u"0:0"_s});
    QCOMPARE(refs(search.find(u"めも"_s, 1)), QStringList{u"0:0"_s});
    QCOMPARE(refs(search.find(u"文書"_s, 1)), QStringList{u"0:0"_s});
    QCOMPARE(refs(search.find(u"editor"_s, 1)), QStringList{u"0:0"_s}); // its file name
    QCOMPARE(refs(search.find(u"trap"_s, 1)), QStringList{u"0:1"_s});
    QCOMPARE(refs(search.find(u"calc"_s, 1)), QStringList{u"0:2"_s});
}

void TestEntrySearch::otherGroupsReadNotWritten()
{
    writeGroup(0, {u"/d/a"_s});
    writeGroup(3, {u"/d/b"_s, u"not,an,entry,line"_s});
    const QByteArray before = TestFiles::readBytes(path(groupFileName(3)));
    const QDateTime modified = QFileInfo(path(groupFileName(3))).lastModified();
    EntrySearch search(*m_groups, {});
    search.readOtherGroups(0);
    QCOMPARE((*m_groups)[0]->size(), 0); // the current group is left to the bar
    QCOMPARE((*m_groups)[3]->size(), 1);
    QCOMPARE(TestFiles::readBytes(path(groupFileName(3))), before);
    QCOMPARE(QFileInfo(path(groupFileName(3))).lastModified(), modified);
    // A group with changes not yet saved is not read over them.
    QVERIFY(GroupSetProbe::unsavedModel(*m_groups, 4).append({TRec{u"/d/unsaved"_s, {}, {}}}));
    search.readOtherGroups(0);
    QCOMPARE((*m_groups)[4]->size(), 1);
    QVERIFY(!QFileInfo::exists(path(groupFileName(4))));
}

void TestEntrySearch::followsAChangedGroup()
{
    writeGroup(1, {u"/d/alpha"_s});
    EntrySearch search(*m_groups, {});
    search.readOtherGroups(0);
    QCOMPARE(refs(search.find(u"beta"_s, 0)), QStringList{});
    QVERIFY(m_groups->insert(1, 0, {TRec{u"/d/beta"_s, {}, {}}}));
    QCOMPARE(refs(search.find(u"beta"_s, 0)), QStringList{u"1:0"_s});
    QCOMPARE(refs(search.find(u"alpha"_s, 0)), QStringList{u"1:1"_s});
}

QTEST_GUILESS_MAIN(TestEntrySearch)
#include "tst_entrysearch.moc"
