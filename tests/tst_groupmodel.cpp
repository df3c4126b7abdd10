// SPDX-License-Identifier: MIT
// One group's model alone: its operations, what they report, the change
// signal a view follows, and saving over a file changed elsewhere.
#include "core/groups/GroupModel.h"

#include "TestFiles.h"

#include <QHash>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using TestFiles::readBytes;
using TestFiles::writeBytes;

Q_DECLARE_METATYPE(GroupChange)
Q_DECLARE_METATYPE(GroupResult::Failure)

class TestGroupModel : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString path(const QString &name) const { return m_dir->filePath(name); }
    QString groupFile() const { return path(u"group.txt"_s); }
    // A model of three entries (a, b, c), read from its file.
    std::unique_ptr<GroupModel> abc();
    static QStringList linesOf(const QByteArray &bytes)
    {
        return QString::fromUtf8(bytes).split(u"\r\n"_s, Qt::SkipEmptyParts);
    }

private Q_SLOTS:
    void init();
    void loadKeepsEveryLine();
    void keptLinesKeepTheirPlace_data();
    void keptLinesKeepTheirPlace();
    void operationsFail_data();
    void operationsFail();
    void notifications_data();
    void notifications();
    void saveMergesOverChangedFile_data();
    void saveMergesOverChangedFile();
    void unreadableFileIsNeverWritten();
};

void TestGroupModel::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    for (const char *name : {"a.txt", "b.txt", "c.txt"})
        QVERIFY(writeBytes(path(QString::fromLatin1(name)), "x"));
}

std::unique_ptr<GroupModel> TestGroupModel::abc()
{
    [&] {
        QVERIFY(writeBytes(groupFile(), (path(u"a.txt"_s) + u",,A\r\n"_s + path(u"b.txt"_s) + u",,B\r\n"_s
                                         + path(u"c.txt"_s) + u",,C\r\n"_s)
                                            .toUtf8()));
    }();
    auto model = std::make_unique<GroupModel>(groupFile());
    model->reload();
    return model;
}

void TestGroupModel::loadKeepsEveryLine()
{
    // A missing file is an entry all the same (its drive may come back); a
    // line of four fields is kept at its place without being an entry; an
    // empty line says nothing and goes. Entries are written back in one form.
    const QString fourFields = path(u"b.txt"_s) + u",-x,B,extra"_s;
    QVERIFY(writeBytes(groupFile(), (path(u"a.txt"_s) + u"\r\n"_s + path(u"gone.txt"_s) + u",,G\r\n"_s + fourFields
                                     + u"\r\n\r\n"_s + m_dir->path() + u",,Home\r\n"_s)
                                        .toUtf8()));
    GroupModel model(groupFile());
    QSignalSpy spy(&model, &GroupModel::changed);
    QVERIFY(model.reload());
    const QStringList entries{path(u"a.txt"_s) + u",,"_s, path(u"gone.txt"_s) + u",,G"_s, m_dir->path() + u",,Home"_s};
    QCOMPARE(model.lines(), entries);
    QCOMPARE(model.fileLines(), (QStringList{entries[0], entries[1], fourFields, entries[2]}));
    QCOMPARE(model.fileLineCount(), 5);
    QCOMPARE(spy.size(), 1);
    const auto change = spy.first().first().value<GroupChange>();
    QCOMPARE(change.kind, GroupChange::Reset);
    QVERIFY(change.loaded);
    // The load's one look at each entry's file is kept, and said as missing.
    QCOMPARE(model.stamp(0)->kind, FileStamp::Kind::File);
    QVERIFY(!model.stamp(1)->exists);
    QCOMPARE(model.stamp(2)->kind, FileStamp::Kind::Folder);
    const QList<bool> missing{false, true, false};
    for (int i = 0; i < 3; ++i)
        QCOMPARE(model.index(i).data(GroupModel::MissingRole).toBool(), missing.at(i));

    QVERIFY(model.save());
    QCOMPARE(linesOf(readBytes(groupFile())), model.fileLines());
}

void TestGroupModel::keptLinesKeepTheirPlace_data()
{
    // The file is "a K b c L": a, b, c entries, K and L lines that make
    // none. Each operation counts entries; the kept lines stay among the
    // entries they stood among.
    QTest::addColumn<std::function<GroupResult(GroupModel &)>>("operation");
    QTest::addColumn<QString>("after");

    using Op = std::function<GroupResult(GroupModel &)>;
    const TRec x{u"/x"_s, {}, u"X"_s};
    QTest::newRow("nothing") << Op([](GroupModel &) { return GroupResult{}; }) << u"a K b c L"_s;
    QTest::newRow("append") << Op([=](GroupModel &m) { return m.append({x}); }) << u"a K b c L x"_s;
    QTest::newRow("insert first") << Op([=](GroupModel &m) { return m.insert(0, {x}); }) << u"x a K b c L"_s;
    QTest::newRow("insert before b") << Op([=](GroupModel &m) { return m.insert(1, {x}); }) << u"a K x b c L"_s;
    QTest::newRow("replace b") << Op([=](GroupModel &m) { return m.replace(1, x); }) << u"a K x c L"_s;
    QTest::newRow("remove a") << Op([](GroupModel &m) { return m.remove(0); }) << u"K b c L"_s;
    QTest::newRow("remove b") << Op([](GroupModel &m) { return m.remove(1); }) << u"a K c L"_s;
    QTest::newRow("remove c") << Op([](GroupModel &m) { return m.remove(2); }) << u"a K b L"_s;
    QTest::newRow("move a last") << Op([](GroupModel &m) { return m.move(0, 2); }) << u"K b c a L"_s;
    QTest::newRow("move c first") << Op([](GroupModel &m) { return m.move(2, 0); }) << u"c a K b L"_s;
    QTest::newRow("move b first") << Op([](GroupModel &m) { return m.move(1, 0); }) << u"b a K c L"_s;
    QTest::newRow("confirmed order c a") << Op([this](GroupModel &m) {
        return m.setLines({path(u"c.txt"_s) + u",,C"_s, path(u"a.txt"_s) + u",,A"_s});
    }) << u"c K a L"_s;
}

void TestGroupModel::keptLinesKeepTheirPlace()
{
    QFETCH(std::function<GroupResult(GroupModel &)>, operation);
    QFETCH(QString, after);

    const QHash<QChar, QString> lineOf{
        {u'a', path(u"a.txt"_s) + u",,A"_s},
        {u'b', path(u"b.txt"_s) + u",,B"_s},
        {u'c', path(u"c.txt"_s) + u",,C"_s},
        {u'x', u"/x,,X"_s},
        {u'K', u"/k,1,2,3"_s},
        {u'L', u",,no file"_s},
    };
    const auto linesFor = [&](const QString &letters) {
        QStringList lines;
        for (const QString &letter : letters.split(u' '))
            lines.append(lineOf.value(letter.at(0)));
        return lines;
    };
    QVERIFY(writeBytes(groupFile(), (linesFor(u"a K b c L"_s).join(u"\r\n"_s) + u"\r\n"_s).toUtf8()));
    GroupModel model(groupFile());
    QVERIFY(model.reload());
    QCOMPARE(model.size(), 3);

    QVERIFY(operation(model));
    QCOMPARE(model.fileLines(), linesFor(after));
    QVERIFY(model.save());
    QCOMPARE(readBytes(groupFile()), (linesFor(after).join(u"\r\n"_s) + u"\r\n"_s).toUtf8());
    // Read back, the kept lines are still no entries.
    QVERIFY(model.reload());
    QCOMPARE(model.fileLines(), linesFor(after));
    QCOMPARE(model.size(), after.count(u'a') + after.count(u'b') + after.count(u'c') + after.count(u'x'));
}

void TestGroupModel::operationsFail_data()
{
    QTest::addColumn<std::function<GroupResult(GroupModel &)>>("operation");
    QTest::addColumn<GroupResult::Failure>("failure");

    using Op = std::function<GroupResult(GroupModel &)>;
    const TRec entry{u"/x"_s, {}, u"X"_s};
    QTest::newRow("insert past the end") << Op([=](GroupModel &m) { return m.insert(4, {entry}); })
                                         << GroupResult::BadPosition;
    QTest::newRow("insert before the start")
        << Op([=](GroupModel &m) { return m.insert(-1, {entry}); }) << GroupResult::BadPosition;
    QTest::newRow("replace past the end")
        << Op([=](GroupModel &m) { return m.replace(3, entry); }) << GroupResult::BadPosition;
    QTest::newRow("move to nowhere") << Op([](GroupModel &m) { return m.move(0, 3); }) << GroupResult::BadPosition;
    QTest::newRow("remove nothing") << Op([](GroupModel &m) { return m.remove(-1); }) << GroupResult::BadPosition;
    QTest::newRow("append without a file")
        << Op([](GroupModel &m) { return m.append({TRec{}}); }) << GroupResult::NotAnEntry;
    QTest::newRow("append a line break") << Op([](GroupModel &m) {
        return m.append({TRec{u"/a\nb"_s, {}, {}}});
    }) << GroupResult::NotAnEntry;
    QTest::newRow("replace with a break in the hint") << Op([](GroupModel &m) {
        return m.replace(0, TRec{u"/a"_s, {}, u"x\ry"_s});
    }) << GroupResult::NotAnEntry;
    QTest::newRow("set a line break") << Op([](GroupModel &m) { return m.setLines({u"/a\n"_s}); })
                                      << GroupResult::NotAnEntry;
}

void TestGroupModel::operationsFail()
{
    QFETCH(std::function<GroupResult(GroupModel &)>, operation);
    QFETCH(GroupResult::Failure, failure);

    const std::unique_ptr<GroupModel> model = abc();
    const QStringList before = model->lines();
    QSignalSpy spy(model.get(), &GroupModel::changed);
    QCOMPARE(operation(*model).failure, failure);
    // A refused operation changes nothing and tells no one.
    QCOMPARE(model->lines(), before);
    QCOMPARE(spy.size(), 0);
}

void TestGroupModel::notifications_data()
{
    QTest::addColumn<std::function<GroupResult(GroupModel &)>>("operation");
    QTest::addColumn<GroupChange::Kind>("kind");
    QTest::addColumn<qsizetype>("first");
    QTest::addColumn<qsizetype>("count");
    QTest::addColumn<qsizetype>("to");
    QTest::addColumn<QStringList>("hints");

    using Op = std::function<GroupResult(GroupModel &)>;
    const TRec x{u"/x"_s, {}, u"X"_s};
    const TRec y{u"/y"_s, {}, u"Y"_s};
    QTest::newRow("append") << Op([=](GroupModel &m) {
        return m.append({x, y});
    }) << GroupChange::Inserted
                            << qsizetype(3) << qsizetype(2) << qsizetype(0)
                            << QStringList{u"A"_s, u"B"_s, u"C"_s, u"X"_s, u"Y"_s};
    QTest::newRow("insert first") << Op([=](GroupModel &m) { return m.insert(0, {x}); }) << GroupChange::Inserted
                                  << qsizetype(0) << qsizetype(1) << qsizetype(0)
                                  << QStringList{u"X"_s, u"A"_s, u"B"_s, u"C"_s};
    QTest::newRow("replace") << Op([=](GroupModel &m) { return m.replace(1, x); }) << GroupChange::Replaced
                             << qsizetype(1) << qsizetype(1) << qsizetype(0) << QStringList{u"A"_s, u"X"_s, u"C"_s};
    QTest::newRow("move back") << Op([](GroupModel &m) { return m.move(2, 0); }) << GroupChange::Moved << qsizetype(2)
                               << qsizetype(1) << qsizetype(0) << QStringList{u"C"_s, u"A"_s, u"B"_s};
    QTest::newRow("remove") << Op([](GroupModel &m) { return m.remove(0); }) << GroupChange::Removed << qsizetype(0)
                            << qsizetype(1) << qsizetype(0) << QStringList{u"B"_s, u"C"_s};
    QTest::newRow("set lines") << Op([](GroupModel &m) {
        return m.setLines({u"/q,,Q"_s, u"/p,,P"_s});
    }) << GroupChange::Reset << qsizetype(0)
                               << qsizetype(2) << qsizetype(0) << QStringList{u"Q"_s, u"P"_s};
}

void TestGroupModel::notifications()
{
    QFETCH(std::function<GroupResult(GroupModel &)>, operation);
    QFETCH(GroupChange::Kind, kind);
    QFETCH(qsizetype, first);
    QFETCH(qsizetype, count);
    QFETCH(qsizetype, to);
    QFETCH(QStringList, hints);

    const std::unique_ptr<GroupModel> model = abc();
    const QByteArray fileBefore = readBytes(groupFile());
    QSignalSpy spy(model.get(), &GroupModel::changed);
    QVERIFY(operation(*model));
    QCOMPARE(spy.size(), 1);
    const auto change = spy.first().first().value<GroupChange>();
    QCOMPARE(change.kind, kind);
    QCOMPARE(change.first, first);
    QCOMPARE(change.count, count);
    QCOMPARE(change.to, to);
    QVERIFY(!change.loaded);
    QStringList shown;
    for (qsizetype i = 0; i < model->size(); ++i)
        shown.append(model->entry(i).hint);
    QCOMPARE(shown, hints);
    // Only a save writes.
    QCOMPARE(readBytes(groupFile()), fileBefore);
    QVERIFY(model->save());
    QCOMPARE(linesOf(readBytes(groupFile())), model->lines());
}

void TestGroupModel::saveMergesOverChangedFile_data()
{
    QTest::addColumn<GroupEdit>("edit");
    QTest::addColumn<bool>("saved");
    QTest::addColumn<QStringList>("hintsAfter");

    // The model appended X; someone else removed B from the file meanwhile.
    QTest::newRow("append") << GroupEdit{GroupEdit::Append, {}, {}, {u"/x,,X"_s}} << true
                            << QStringList{u"A"_s, u"C"_s, u"X"_s};
    QTest::newRow("reorder") << GroupEdit{GroupEdit::Reorder, {}, {}, {}} << false << QStringList{u"A"_s, u"C"_s};
}

void TestGroupModel::saveMergesOverChangedFile()
{
    QFETCH(GroupEdit, edit);
    QFETCH(bool, saved);
    QFETCH(QStringList, hintsAfter);

    const std::unique_ptr<GroupModel> model = abc();
    QVERIFY(model->append({TRec{u"/x"_s, {}, u"X"_s}}));
    const QStringList other{path(u"a.txt"_s) + u",,A"_s, path(u"c.txt"_s) + u",,C"_s};
    QVERIFY(writeBytes(groupFile(), (other.join(u"\r\n"_s) + u"\r\n"_s).toUtf8()));
    QSignalSpy spy(model.get(), &GroupModel::changed);

    const GroupResult result = model->save(edit);
    QCOMPARE(bool(result), saved);
    if (!saved)
        QCOMPARE(result.failure, GroupResult::EditRefused);
    // Neither change is lost: the edit went into the file's lines, or was
    // refused; either way the model reads the file again.
    QCOMPARE(linesOf(readBytes(groupFile())), saved ? other + QStringList{u"/x,,X"_s} : other);
    QCOMPARE(spy.size(), 1);
    QVERIFY(spy.first().first().value<GroupChange>().loaded);
    QStringList shown;
    for (qsizetype i = 0; i < model->size(); ++i)
        shown.append(model->entry(i).hint);
    QCOMPARE(shown, hintsAfter);
}

void TestGroupModel::unreadableFileIsNeverWritten()
{
    // Bytes no character set reads without loss.
    const QByteArray bytes = (path(u"a.txt"_s) + u",,A\r\n"_s).toUtf8() + "\xff\xfe\xfd\x80\r\n";
    QVERIFY(writeBytes(groupFile(), bytes));
    GroupModel model(groupFile());
    QCOMPARE(model.reload().failure, GroupResult::Unreadable);
    QVERIFY(model.isUnreadable());
    QVERIFY(model.append({TRec{path(u"b.txt"_s), {}, u"B"_s}}));
    QCOMPARE(model.save({GroupEdit::Append, {}, {}, {model.line(model.size() - 1)}}).failure, GroupResult::Unreadable);
    QCOMPARE(readBytes(groupFile()), bytes);
}

QTEST_GUILESS_MAIN(TestGroupModel)
#include "tst_groupmodel.moc"
