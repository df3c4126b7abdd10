// SPDX-License-Identifier: MIT
// What a save killed before its rename leaves behind is removed at the next
// start; anything else beside the launcher's files, however alike, is not.
#include "core/files/SaveLeftovers.h"
#include "TestFiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using TestFiles::readBytes;
using TestFiles::writeBytes;

namespace {

enum class Kind { File, Folder, Link };

const QStringList kOwnFiles = {u"Quillbrook.ini"_s, u"QuillbrookPath.txt"_s, u"QuillbrookPath1.txt"_s,
                               u"QuillbrookPath4.txt"_s};

} // namespace

Q_DECLARE_METATYPE(Kind)

class TestSaveLeftovers : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void onlyLeftoversAreRemoved_data();
    void onlyLeftoversAreRemoved();
};

void TestSaveLeftovers::onlyLeftoversAreRemoved_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<bool>("removed");

    QTest::newRow("settings leftover") << u"Quillbrook.ini.fREJuv"_s << Kind::File << true;
    QTest::newRow("group leftover") << u"QuillbrookPath.txt.mOYHRm"_s << Kind::File << true;
    QTest::newRow("numbered group leftover") << u"QuillbrookPath4.txt.saving-ABCDEF"_s << Kind::File << true;
    QTest::newRow("our own form, one case") << u"Quillbrook.ini.saving-abcdef"_s << Kind::File << true;
    QTest::newRow("user's backup") << u"Quillbrook.ini.backup"_s << Kind::File << false;
    QTest::newRow("user's capitals") << u"QuillbrookPath.txt.BACKUP"_s << Kind::File << false;
    QTest::newRow("our form, five letters") << u"Quillbrook.ini.saving-abcde"_s << Kind::File << false;
    QTest::newRow("backup") << u"QuillbrookPath.txt.bak"_s << Kind::File << false;
    QTest::newRow("five digits") << u"Quillbrook.ini.12345"_s << Kind::File << false;
    QTest::newRow("six digits") << u"Quillbrook.ini.123456"_s << Kind::File << false;
    QTest::newRow("seven letters") << u"Quillbrook.ini.aBcdefg"_s << Kind::File << false;
    QTest::newRow("other characters") << u"Quillbrook.ini.aB-cde"_s << Kind::File << false;
    QTest::newRow("not a dot") << u"Quillbrook.ini_aBcdef"_s << Kind::File << false;
    QTest::newRow("not our file") << u"Quillbrook.txt.aBcdef"_s << Kind::File << false;
    QTest::newRow("group beyond the five") << u"QuillbrookPath5.txt.aBcdef"_s << Kind::File << false;
    QTest::newRow("folder") << u"Quillbrook.ini.saving-abcdef"_s << Kind::Folder << false;
    QTest::newRow("link") << u"QuillbrookPath.txt.aBcdef"_s << Kind::Link << false;
}

void TestSaveLeftovers::onlyLeftoversAreRemoved()
{
    QFETCH(QString, name);
    QFETCH(Kind, kind);
    QFETCH(bool, removed);

    const QTemporaryDir home;
    QVERIFY(home.isValid());
    const QDir dir(home.path());
    for (const QString &own : kOwnFiles)
        QVERIFY(writeBytes(dir.filePath(own), own.toUtf8()));
    const QString path = dir.filePath(name);
    const QString linkTarget = dir.filePath(u"notes.txt"_s);
    QVERIFY(writeBytes(linkTarget, "mine"));
    switch (kind) {
    case Kind::File:
        QVERIFY(writeBytes(path, "half a save"));
        break;
    case Kind::Folder:
        QVERIFY(dir.mkdir(name));
        QVERIFY(writeBytes(path + u"/inside"_s, "mine"));
        break;
    case Kind::Link:
        QVERIFY(QFile::link(linkTarget, path));
        break;
    }

    const QStringList expected = removed ? QStringList{path} : QStringList{};
    QCOMPARE(findSaveLeftovers(home.path(), kOwnFiles), expected);
    QCOMPARE(removeSaveLeftovers(home.path(), kOwnFiles), expected);
    QCOMPARE(QFileInfo::exists(path) || QFileInfo(path).isSymLink(), !removed);
    for (const QString &own : kOwnFiles)
        QCOMPARE(readBytes(dir.filePath(own)), own.toUtf8());
    QCOMPARE(readBytes(linkTarget), QByteArray("mine"));
    if (kind == Kind::Folder)
        QCOMPARE(readBytes(path + u"/inside"_s), QByteArray("mine"));
}

QTEST_MAIN(TestSaveLeftovers)
#include "tst_saveleftovers.moc"
