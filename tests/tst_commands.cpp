// SPDX-License-Identifier: MIT
// The bar's commands: registration mode and its marks, drops, deleting an
// entry, switching groups, resize mode, and the shortcuts that reach them.
#include "app/DropArea.h"
#include "app/Unit1.h"
#include "editor/Unit3.h"
#include "launcher/IconLayer.h"
#include "launcher/LaunchButton.h"
#include "core/entries/PathRules.h"
#include "core/settings/IniFile.h"
#include "settings/Unit2.h"
#include "TestFiles.h"
#include "BarFixture.h"
#include "TestPointer.h"
#include "GroupSetProbe.h"
#include "BarProbe.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QDragEnterEvent>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMimeData>
#include <QMutex>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUrl>

#include <memory>

#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>

using namespace Qt::StringLiterals;

namespace {

using TestFiles::readBytes;
using TestFiles::writeBytes;

// The registration marks that are on, in a fixed order; "groups" stands for
// an enabled group submenu.
QString marksOf(const TForm1 &form)
{
    QStringList on;
    if (form.isRegistrationAreaShown())
        on << u"area"_s;
    if (BarProbe::AddMenu(BarProbe::menus(form))->isChecked())
        on << u"AddMenu"_s;
    if (BarProbe::AddMenu2(BarProbe::menus(form))->isChecked())
        on << u"AddMenu2"_s;
    if (BarProbe::ReSize2(BarProbe::menus(form))->isChecked())
        on << u"ReSize2"_s;
    if (BarProbe::MenuItem6(BarProbe::menus(form))->isEnabled())
        on << u"groups"_s;
    return on.join(u' ');
}

const QString kOn = u"area AddMenu AddMenu2 ReSize2"_s;
const QString kOff = u"groups"_s;
const QString kLoadedEmpty = u"area AddMenu AddMenu2"_s;

QList<QWidget *> widgetsOf(const QList<LaunchButton *> &buttons)
{
    return QList<QWidget *>(buttons.begin(), buttons.end());
}

} // namespace

class TestCommands : public QObject, protected BarFixture
{
    Q_OBJECT

private:
    QString groupFile(int group) const { return home() + groupFileName(group); }
    // An existing file in the home folder.
    QString makeFile(const QString &name);
    // Writes group `group` with one entry per name, each an existing file,
    // in the form a save writes; returns the lines.
    QStringList writeGroup(int group, const QStringList &names);
    QString menuIndexInIni() const;
    void showActive(TForm1 &form);

private Q_SLOTS:
    void init();
    void cleanup();

    void registrationMarks_data();
    void registrationMarks();
    void checkedItemsToggleOnce_data();
    void checkedItemsToggleOnce();

    void drop_data();
    void drop();
    void dropWithLineBreakIsRefused_data();
    void dropWithLineBreakIsRefused();
    void dragAndDrop_data();
    void dragAndDrop();

    void deleteKeepsLinesAndButtonsInStep();
    void deleteOfButtonNotOnBarDoesNothing_data();
    void deleteOfButtonNotOnBarDoesNothing();

    void switchGroupRebuildsFromFile_data();
    void switchGroupRebuildsFromFile();
    void reusedButtonsCarryNothingOver();
    void groupKeysWhileGroupMenuDisabled_data();
    void groupKeysWhileGroupMenuDisabled();

    void saveOverFileChangedElsewhere_data();
    void saveOverFileChangedElsewhere();
};

void TestCommands::init()
{
    QVERIFY(setUp());
}

void TestCommands::cleanup()
{
    tearDown();
}

QString TestCommands::makeFile(const QString &name)
{
    const QString path = file(name);
    QDir().mkpath(QFileInfo(path).path());
    writeBytes(path, "x\n");
    return path;
}

QStringList TestCommands::writeGroup(int group, const QStringList &names)
{
    QStringList lines;
    for (const QString &name : names)
        lines.append(makeFile(name) + u",,"_s + QFileInfo(name).baseName());
    writeBytes(groupFile(group), lines.isEmpty() ? QByteArray() : lines.join(u"\r\n"_s).toUtf8() + "\r\n");
    return lines;
}

QString TestCommands::menuIndexInIni() const
{
    return IniFile::load(file(u"Quillbrook.ini"_s)).value(u"Menu", u"Index").value_or(u"<none>"_s);
}

void TestCommands::showActive(TForm1 &form)
{
    form.show();
    form.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&form));
}

// --- Registration mode ---

void TestCommands::registrationMarks_data()
{
    // steps: A AddMenuClick, D delete the first entry, R ReSize2Click,
    // c the check of AddMenu cleared (as closing a dialog does), L the
    // current group chosen again.
    // start: the group file before showing: "missing", "empty" (0 bytes),
    // "entry" (one line holding only an existing file's path, which a save
    // rewrites), "folder" (a folder where the file should be).
    // file: the group file afterwards; {a} is the entry's path.
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("steps");
    QTest::addColumn<QString>("marks");
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("messages");

    QTest::newRow("loaded group") << u"entry"_s << QString() << kOff << u"{a}\r\n"_s << 0;
    QTest::newRow("missing file") << u"missing"_s << QString() << kLoadedEmpty << u"<missing>"_s << 0;
    QTest::newRow("0-byte file") << u"empty"_s << QString() << kLoadedEmpty << QString() << 0;
    QTest::newRow("enter saves nothing") << u"entry"_s << u"A"_s << kOn << u"{a}\r\n"_s << 0;
    QTest::newRow("enter and leave saves") << u"entry"_s << u"AA"_s << kOff << u"{a},,\r\n"_s << 0;
    QTest::newRow("leave an empty group") << u"missing"_s << u"A"_s << kOff << QString() << 0;
    QTest::newRow("delete the last entry") << u"entry"_s << u"D"_s << kOn << QString() << 0;
    QTest::newRow("delete the last entry, leave") << u"entry"_s << u"DA"_s << kOff << QString() << 0;
    QTest::newRow("re-entry after check cleared") << u"missing"_s << u"cA"_s << kOn << u"<missing>"_s << 0;
    QTest::newRow("re-entry, then leave") << u"missing"_s << u"cAA"_s << kOff << QString() << 0;
    QTest::newRow("resize toggles") << u"entry"_s << u"R"_s << u"ReSize2 groups"_s << u"{a}\r\n"_s << 0;
    QTest::newRow("resize toggles back") << u"entry"_s << u"RR"_s << kOff << u"{a}\r\n"_s << 0;
    QTest::newRow("resize toggles in registration")
        << u"entry"_s << u"AR"_s << u"area AddMenu AddMenu2"_s << u"{a}\r\n"_s << 0;
    QTest::newRow("leaving clears resize") << u"entry"_s << u"RAA"_s << kOff << u"{a},,\r\n"_s << 0;
    QTest::newRow("reload keeps the marks") << u"entry"_s << u"AL"_s << kOn << u"{a}\r\n"_s << 0;
    // An unreadable group says so and is not put in registration mode.
    QTest::newRow("leave fails to save") << u"folder"_s << u"AA"_s << QString() << u"<unreadable>"_s << 2;
}

void TestCommands::registrationMarks()
{
    QFETCH(QString, start);
    QFETCH(QString, steps);
    QFETCH(QString, marks);
    QFETCH(QString, file);
    QFETCH(int, messages);

    const QString entry = makeFile(u"a.txt"_s);
    if (start == u"entry")
        QVERIFY(writeBytes(groupFile(0), entry.toUtf8() + "\r\n"));
    else if (start == u"empty")
        QVERIFY(writeBytes(groupFile(0), {}));
    else if (start == u"folder")
        QVERIFY(QDir().mkpath(groupFile(0)));

    TForm1 form(home());
    form.show();
    for (const QChar step : std::as_const(steps)) {
        switch (step.unicode()) {
        case 'A':
            form.AddMenuClick();
            break;
        case 'D':
            QVERIFY(!BarProbe::LaunchBtn(form).isEmpty());
            BarProbe::ButtonMouseEnter(form, BarProbe::LaunchBtn(form).first());
            form.DelBtnClick();
            break;
        case 'R':
            BarProbe::ReSize2Click(form);
            break;
        case 'c':
            BarProbe::AddMenu(BarProbe::menus(form))->setChecked(false);
            break;
        case 'L':
            form.MenuClick(form.MenuIndex());
            break;
        default:
            QFAIL("unknown step");
        }
    }

    QCOMPARE(marksOf(form), marks);
    const QByteArray expected = file.replace(u"{a}"_s, entry).toUtf8();
    QCOMPARE(readBytes(groupFile(0)), expected);
    QCOMPARE(m_shown.size(), messages);
}

void TestCommands::checkedItemsToggleOnce_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<QKeySequence>("keys"); // empty: the item is triggered
    QTest::addColumn<QString>("once");

    QTest::newRow("新規追加") << u"AddMenu"_s << QKeySequence() << kOn;
    QTest::newRow("新規登録") << u"AddMenu2"_s << QKeySequence() << kOn;
    QTest::newRow("サイズ変更") << u"ReSize2"_s << QKeySequence() << u"ReSize2 groups"_s;
    QTest::newRow("Ctrl+N") << QString() << QKeySequence(Qt::CTRL | Qt::Key_N) << kOn;
    QTest::newRow("Ctrl+R") << QString() << QKeySequence(Qt::CTRL | Qt::Key_R) << u"ReSize2 groups"_s;
}

void TestCommands::checkedItemsToggleOnce()
{
    QFETCH(QString, item);
    QFETCH(QKeySequence, keys);
    QFETCH(QString, once);

    writeGroup(0, {u"a.txt"_s});
    TForm1 form(home());
    showActive(form);
    QCOMPARE(marksOf(form), kOff);

    QAction *action = item == u"AddMenu"    ? BarProbe::AddMenu(BarProbe::menus(form))
                      : item == u"AddMenu2" ? BarProbe::AddMenu2(BarProbe::menus(form))
                                            : BarProbe::ReSize2(BarProbe::menus(form));
    auto use = [&] {
        if (keys.isEmpty())
            action->trigger();
        else
            QTest::keySequence(&form, keys);
    };
    use();
    QCOMPARE(marksOf(form), once);
    use();
    QCOMPARE(marksOf(form), kOff);
}

// --- Drops ---

void TestCommands::drop_data()
{
    // names: files made in the home folder and dropped in this order; a
    // name ending in "/" is a folder.
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QString>("hint");

    QTest::newRow("three at once") << QStringList{u"a.txt"_s, u"b.txt"_s, u"c.txt"_s} << u"a"_s;
    QTest::newRow("double extension") << QStringList{u"archive.tar.gz"_s} << u"archive.tar"_s;
    QTest::newRow("leading dot only") << QStringList{u".profile"_s} << QString();
    QTest::newRow("no dot") << QStringList{u"tool"_s} << u"tool"_s;
    QTest::newRow("dot in a folder name only") << QStringList{u"v1.2/tool"_s} << u"tool"_s;
    QTest::newRow("folder") << QStringList{u"my.folder/"_s} << u"my"_s;
    QTest::newRow("comma in name") << QStringList{u"a,b.txt"_s} << u"a,b"_s;
    QTest::newRow("quote at start") << QStringList{u"\"q.txt"_s} << u"\"q"_s;
    QTest::newRow("blank and non-ASCII") << QStringList{u"メモ 1.txt"_s} << u"メモ 1"_s;
}

void TestCommands::drop()
{
    QFETCH(QStringList, names);
    QFETCH(QString, hint);

    const QStringList before = writeGroup(0, {u"kept.txt"_s});
    QStringList paths;
    for (const QString &name : std::as_const(names)) {
        if (name.endsWith(u'/')) {
            QVERIFY(QDir().mkpath(file(name)));
            paths.append(file(name.chopped(1)));
        } else {
            paths.append(makeFile(name));
        }
    }
    const bool isFolder = names.first().endsWith(u'/');

    TForm1 form(home());
    form.show();
    form.AddMenuClick();
    form.DropTarget1Dropped(paths);

    QCOMPARE(m_shown, QStringList());
    // Every file of the drop, in the order given, after the kept entry.
    QCOMPARE(BarProbe::LaunchBtn(form).size(), 1 + paths.size());
    QCOMPARE(form.LaunchPath[0]->lines().size(), 1 + paths.size());
    for (qsizetype i = 0; i < paths.size(); ++i) {
        QCOMPARE(BarProbe::LaunchBtn(form)[1 + i]->filePath(), paths[i]);
        QCOMPARE(recFromFields(splitEntryLine(form.LaunchPath[0]->lines()[1 + i])),
                 std::optional<TRec>(TRec{paths[i], QString(), ExtractFileTitle(paths[i])}));
    }
    const TRec added{paths.first(), QString(), hint};
    QCOMPARE(recFromFields(splitEntryLine(form.LaunchPath[0]->lines()[1])), std::optional<TRec>(added));
    // On disk at once, while registration mode goes on.
    QCOMPARE(readBytes(groupFile(0)), form.LaunchPath[0]->lines().join(u"\r\n"_s).toUtf8() + "\r\n");
    QCOMPARE(marksOf(form), kOn);

    if (isFolder)
        return;
    // What was saved reads back as the same entry.
    form.MenuClick(0);
    QCOMPARE(BarProbe::LaunchBtn(form).size(), 1 + paths.size());
    QCOMPARE(recFromFields(splitEntryLine(form.LaunchPath[0]->lines()[1])), std::optional<TRec>(added));
    QCOMPARE(form.LaunchPath[0]->lines().first(), before.first());
}

void TestCommands::dropWithLineBreakIsRefused_data()
{
    QTest::addColumn<QStringList>("names");
    QTest::newRow("line feed") << QStringList{u"bad\nname.txt"_s};
    QTest::newRow("carriage return") << QStringList{u"bad\rname.txt"_s};
    QTest::newRow("one of the drop") << QStringList{u"bad\nname.txt"_s, u"good.txt"_s};
}

void TestCommands::dropWithLineBreakIsRefused()
{
    QFETCH(QStringList, names);

    const QStringList before = writeGroup(0, {u"kept.txt"_s});
    const QByteArray fileBefore = readBytes(groupFile(0));
    QStringList paths;
    for (const QString &name : std::as_const(names))
        paths.append(makeFile(name));

    TForm1 form(home());
    form.show();
    form.AddMenuClick();
    form.DropTarget1Dropped(paths);

    QCOMPARE(m_shown.size(), 1);
    // The others of the drop are registered.
    QStringList expected = before;
    for (const QString &path : std::as_const(paths)) {
        if (!path.contains(u'\n') && !path.contains(u'\r'))
            expected.append(path + u",,"_s + ExtractFileTitle(path));
    }
    QCOMPARE(form.LaunchPath[0]->lines(), expected);
    QCOMPARE(BarProbe::LaunchBtn(form).size(), expected.size());
    QCOMPARE(BarProbe::FlowLayout1(form)->items().size(), expected.size());
    QCOMPARE(readBytes(groupFile(0)), expected.size() == 1 ? fileBefore : expected.join(u"\r\n"_s).toUtf8() + "\r\n");
}

void TestCommands::dragAndDrop_data()
{
    // urls: "~/name" stands for a file (or, ending in "/", a folder) made in
    // the home folder; anything else is taken as it is.
    QTest::addColumn<QStringList>("urls");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("registered"); // empty: refused

    QTest::newRow("one file") << QStringList{u"~/a.txt"_s} << QString() << QStringList{u"a.txt"_s};
    QTest::newRow("two files") << QStringList{u"~/a.txt"_s, u"~/b.txt"_s} << QString()
                               << QStringList{u"a.txt"_s, u"b.txt"_s};
    QTest::newRow("folder") << QStringList{u"~/folder/"_s} << QString() << QStringList{u"folder"_s};
    QTest::newRow("file without dot") << QStringList{u"~/tool"_s} << QString() << QStringList{u"tool"_s};
    QTest::newRow("web link then file") << QStringList{u"https://example.com/a.txt"_s, u"~/b.txt"_s} << QString()
                                        << QStringList{u"b.txt"_s};
    QTest::newRow("web link") << QStringList{u"https://example.com/a.txt"_s} << QString() << QStringList();
    QTest::newRow("text") << QStringList() << u"/etc/hosts"_s << QStringList();
}

void TestCommands::dragAndDrop()
{
    QFETCH(QStringList, urls);
    QFETCH(QString, text);
    QFETCH(QStringList, registered);

    auto mime = std::make_unique<QMimeData>();
    QList<QUrl> list;
    for (const QString &url : std::as_const(urls)) {
        if (!url.startsWith(u"~/")) {
            list.append(QUrl(url));
        } else if (url.endsWith(u'/')) {
            QVERIFY(QDir().mkpath(file(url.mid(2))));
            list.append(QUrl::fromLocalFile(file(url.mid(2).chopped(1))));
        } else {
            list.append(QUrl::fromLocalFile(makeFile(url.mid(2))));
        }
    }
    if (!list.isEmpty())
        mime->setUrls(list);
    if (!text.isEmpty())
        mime->setText(text);

    TForm1 form(home());
    form.show();
    QVERIFY(form.isRegistrationAreaShown());
    const bool accepts = !registered.isEmpty();

    QDragEnterEvent enter(QPoint(20, 20), Qt::CopyAction, mime.get(), Qt::LeftButton, Qt::NoModifier);
    // Starts the opposite way, so only the drop area's answer can pass.
    enter.setAccepted(!accepts);
    QApplication::sendEvent(BarProbe::DropTarget1(form), &enter);
    QCOMPARE(enter.isAccepted(), accepts);

    QDropEvent dropEvent(QPointF(20, 20), Qt::CopyAction, mime.get(), Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(BarProbe::DropTarget1(form), &dropEvent);
    if (!accepts) {
        QVERIFY(form.LaunchPath[0]->lines().isEmpty());
        QCOMPARE(readBytes(groupFile(0)), QByteArray("<missing>"));
        return;
    }
    QStringList shown;
    for (const LaunchButton *button : std::as_const(BarProbe::LaunchBtn(form)))
        shown.append(button->filePath());
    QStringList expected;
    for (const QString &name : std::as_const(registered))
        expected.append(file(name));
    QCOMPARE(shown, expected);
    QCOMPARE(readBytes(groupFile(0)), form.LaunchPath[0]->lines().join(u"\r\n"_s).toUtf8() + "\r\n");
}

// --- Deleting ---

void TestCommands::deleteKeepsLinesAndButtonsInStep()
{
    const QStringList lines = writeGroup(0, {u"a.txt"_s, u"b.txt"_s, u"c.txt"_s});
    TForm1 form(home());
    form.show();
    QMutex mutex;
    QStringList opened;
    form.setOpener([&](const QString &path, const QString &, const QString &, QString *) {
        QMutexLocker lock(&mutex);
        opened.append(path);
        return true;
    });
    const QList<LaunchButton *> buttons = BarProbe::LaunchBtn(form);

    BarProbe::ButtonMouseEnter(form, buttons[1]);
    form.DelBtnClick();

    QCOMPARE(form.LaunchPath[0]->lines(), (QStringList{lines[0], lines[2]}));
    QCOMPARE(BarProbe::LaunchBtn(form), (QList<LaunchButton *>{buttons[0], buttons[2]}));
    QCOMPARE(BarProbe::FlowLayout1(form)->items(), widgetsOf(BarProbe::LaunchBtn(form)));
    QCOMPARE(readBytes(groupFile(0)), (lines[0] + u"\r\n"_s + lines[2] + u"\r\n"_s).toUtf8());
    QCOMPARE(marksOf(form), kOff);

    // The button after the deleted one opens its own file, not its neighbour's.
    buttons[2]->click();
    QTRY_COMPARE_WITH_TIMEOUT(([&] {
                                  QMutexLocker lock(&mutex);
                                  return opened;
                              }()),
                              QStringList{file(u"c.txt"_s)}, 30000);
}

void TestCommands::deleteOfButtonNotOnBarDoesNothing_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("no button entered yet") << u"none"_s;
    QTest::newRow("button deleted just before") << u"deleted"_s;
    QTest::newRow("button of the group left") << u"switched"_s;
}

void TestCommands::deleteOfButtonNotOnBarDoesNothing()
{
    QFETCH(QString, how);

    writeGroup(0, {u"a.txt"_s, u"b.txt"_s});
    // As the user might have written it: any save would change it.
    QVERIFY(writeBytes(groupFile(1), makeFile(u"c.txt"_s).toUtf8() + "\r\n"));
    TForm1 form(home());
    form.show();

    if (how == u"deleted") {
        BarProbe::ButtonMouseEnter(form, BarProbe::LaunchBtn(form).first());
        form.DelBtnClick();
    } else if (how == u"switched") {
        BarProbe::ButtonMouseEnter(form, BarProbe::LaunchBtn(form).first());
        form.MenuClick(1);
    }
    const QStringList lines = form.LaunchPath[form.MenuIndex()]->lines();
    const QList<LaunchButton *> buttons = BarProbe::LaunchBtn(form);
    const QByteArray saved = readBytes(groupFile(form.MenuIndex()));
    const QString marks = marksOf(form);

    form.DelBtnClick();

    QCOMPARE(form.LaunchPath[form.MenuIndex()]->lines(), lines);
    QCOMPARE(BarProbe::LaunchBtn(form), buttons);
    QCOMPARE(BarProbe::FlowLayout1(form)->items(), widgetsOf(buttons));
    QCOMPARE(readBytes(groupFile(form.MenuIndex())), saved);
    QCOMPARE(marksOf(form), marks);
    QCOMPARE(m_shown, QStringList());
}

// --- Groups ---

void TestCommands::switchGroupRebuildsFromFile_data()
{
    QTest::addColumn<int>("group");
    QTest::newRow("another group") << 2;
    QTest::newRow("the current group again") << 0;
}

void TestCommands::switchGroupRebuildsFromFile()
{
    QFETCH(int, group);

    const QStringList zero = writeGroup(0, {u"a.txt"_s});
    const QStringList two = writeGroup(2, {u"b.txt"_s, u"c.txt"_s});
    const QByteArray zeroFile = readBytes(groupFile(0));
    TForm1 form(home());
    form.show();
    // An entry that never reached the file, as the settings dialog's order
    // list can leave one.
    QVERIFY(
        GroupSetProbe::unsavedModel(form.LaunchPath, 0).append({TRec{makeFile(u"unsaved.txt"_s), {}, u"unsaved"_s}}));
    const QStringList zeroInMemory = form.LaunchPath[0]->lines();
    const QList<LaunchButton *> old = BarProbe::LaunchBtn(form);

    form.MenuClick(group);

    QCOMPARE(form.MenuIndex(), group);
    for (int n = 0; n < kGroupCount; ++n)
        QCOMPARE(BarProbe::groupItem(BarProbe::menus(form), n)->isChecked(), n == group);
    const QStringList expected = group == 0 ? zero : two;
    QCOMPARE(form.LaunchPath[group]->lines(), expected);
    QCOMPARE(BarProbe::LaunchBtn(form).size(), expected.size());
    // Rebuilt from the file: button widgets may be reused, each now stands
    // for its new line, and none is on the bar twice.
    for (qsizetype i = 0; i < expected.size(); ++i)
        QCOMPARE(BarProbe::LaunchBtn(form).at(i)->filePath(), splitEntryLine(expected.at(i)).value(0));
    QCOMPARE(QSet<LaunchButton *>(BarProbe::LaunchBtn(form).cbegin(), BarProbe::LaunchBtn(form).cend()).size(),
             BarProbe::LaunchBtn(form).size());
    for (LaunchButton *button : std::as_const(old)) {
        if (!BarProbe::LaunchBtn(form).contains(button))
            QVERIFY(button->isHidden());
    }
    QCOMPARE(BarProbe::FlowLayout1(form)->items(), widgetsOf(BarProbe::LaunchBtn(form)));
    QCOMPARE(BarProbe::LaunchBtn(form).first()->filePath(), file(group == 0 ? u"a.txt"_s : u"b.txt"_s));
    // The group left is neither saved nor forgotten.
    QCOMPARE(readBytes(groupFile(0)), zeroFile);
    if (group != 0)
        QCOMPARE(form.LaunchPath[0]->lines(), zeroInMemory);
    QCOMPARE(menuIndexInIni(), QString::number(group));
    QCOMPARE(marksOf(form), kOff);
}

void TestCommands::groupKeysWhileGroupMenuDisabled_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("group");
    QTest::newRow("F1") << int(Qt::Key_F1) << 0;
    QTest::newRow("F2") << int(Qt::Key_F2) << 1;
    QTest::newRow("F3") << int(Qt::Key_F3) << 2;
    QTest::newRow("F4") << int(Qt::Key_F4) << 3;
    QTest::newRow("F5") << int(Qt::Key_F5) << 4;
}

void TestCommands::groupKeysWhileGroupMenuDisabled()
{
    QFETCH(int, key);
    QFETCH(int, group);

    for (int n = 1; n < kGroupCount; ++n)
        writeGroup(n, {u"in%1.txt"_s.arg(n)});
    TForm1 form(home());
    showActive(form);
    // Group 0 has no file: registration mode is on, the submenu disabled.
    QCOMPARE(marksOf(form), kLoadedEmpty);

    QTest::keyClick(&form, Qt::Key(key));

    QCOMPARE(form.MenuIndex(), group);
    QVERIFY(BarProbe::groupItem(BarProbe::menus(form), group)->isChecked());
    QCOMPARE(BarProbe::LaunchBtn(form).size(), group == 0 ? 0 : 1);
    QCOMPARE(menuIndexInIni(), QString::number(group));
    // Registration mode goes on in the new group.
    QCOMPARE(marksOf(form), kLoadedEmpty);
}

// --- Group files changed by another program ---

void TestCommands::saveOverFileChangedElsewhere_data()
{
    // Entries are named by their file: "a" is a.txt as the launcher writes
    // it ("path,,a"), "h" a line typed by hand (the bare path), "b'" b.txt
    // after the edit below. The group starts as a, b, c.
    QTest::addColumn<QString>("action");
    // What another program does after the load: "none"; "add h"; "drop b"
    // (writes a, c, h); "c to e" (the same bytes but for one letter, at the
    // same time, by rename: only the inode tells).
    QTest::addColumn<QString>("handEdit");
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<bool>("refused");

    const auto row = [](const char *name, const char *action, const char *handEdit, const QString &expected,
                        bool refused) {
        QTest::newRow(name) << QString::fromLatin1(action) << QString::fromLatin1(handEdit) << expected.split(u' ')
                            << refused;
    };
    row("drop", "drop", "none", u"a b c d"_s, false);
    row("drop over a line added", "drop", "add h", u"a b c h d"_s, false);
    row("delete", "delete", "none", u"a c"_s, false);
    row("delete over a line added", "delete", "add h", u"a c h"_s, false);
    row("delete of a line gone already", "delete", "drop b", u"a c h"_s, false);
    row("delete over a same-size rewrite", "delete", "c to e", u"a e"_s, false);
    row("edit", "edit", "none", u"a b' c"_s, false);
    row("edit over a line added", "edit", "add h", u"a b' c h"_s, false);
    row("edit of a line gone", "edit", "drop b", u"a c h"_s, true);
    row("reorder", "reorder", "none", u"b a c"_s, false);
    row("reorder over a line added", "reorder", "add h", u"a b c h"_s, true);
}

void TestCommands::saveOverFileChangedElsewhere()
{
    QFETCH(QString, action);
    QFETCH(QString, handEdit);
    QFETCH(QStringList, expected);
    QFETCH(bool, refused);

    writeGroup(0, {u"a.txt"_s, u"b.txt"_s, u"c.txt"_s});
    for (const QString &name : {u"d.txt"_s, u"e.txt"_s, u"h.txt"_s})
        makeFile(name);
    const auto lineOf = [this](const QString &entry) {
        if (entry == u"h")
            return file(u"h.txt"_s);
        if (entry == u"b'")
            return file(u"b.txt"_s) + u",-v,Bee"_s;
        return file(entry + u".txt"_s) + u",,"_s + entry;
    };
    const auto textOf = [&](const QString &entries) {
        QByteArray text;
        for (const QString &entry : entries.split(u' '))
            text += lineOf(entry).toUtf8() + "\r\n";
        return text;
    };

    TForm1 form(home());
    TForm2 settings(&form);
    TForm3 editor(&form);
    form.setDialogs(&settings, &editor);
    form.show();
    QCOMPARE(BarProbe::LaunchBtn(form).size(), 3);

    if (handEdit == u"add h") {
        QVERIFY(writeBytes(groupFile(0), textOf(u"a b c h"_s)));
    } else if (handEdit == u"drop b") {
        QVERIFY(writeBytes(groupFile(0), textOf(u"a c h"_s)));
    } else if (handEdit == u"c to e") {
        struct stat old {};
        QCOMPARE(::stat(QFile::encodeName(groupFile(0)).constData(), &old), 0);
        const QString next = file(u"next.txt"_s);
        QVERIFY(writeBytes(next, textOf(u"a b e"_s)));
        const struct timespec times[2] = {old.st_atim, old.st_mtim};
        QCOMPARE(::utimensat(AT_FDCWD, QFile::encodeName(next).constData(), times, 0), 0);
        QCOMPARE(std::rename(QFile::encodeName(next).constData(), QFile::encodeName(groupFile(0)).constData()), 0);
        QCOMPARE(QFileInfo(groupFile(0)).size(), qint64(old.st_size));
    }

    if (action == u"drop") {
        form.DropTarget1Dropped({file(u"d.txt"_s)});
    } else if (action == u"delete") {
        BarProbe::ButtonMouseEnter(form, BarProbe::LaunchBtn(form)[1]);
        form.DelBtnClick();
    } else if (action == u"edit") {
        BarProbe::ButtonMouseEnter(form, BarProbe::LaunchBtn(form)[1]);
        QTimer::singleShot(0, &editor, [&] {
            editor.ParamEdit->setText(u"-v"_s);
            editor.HintEdit->setText(u"Bee"_s);
            editor.Button1->click();
            if (editor.isVisible())
                editor.done(QDialog::Rejected);
        });
        BarProbe::EditCmdClick(form);
        QVERIFY(editor.isHidden());
    } else if (action == u"reorder") {
        settings.show();
        settings.ListBox1->setCurrentRow(1);
        settings.UpBtn->click();
        settings.ConfirmBtn->click();
        QVERIFY(settings.close());
    }

    QCOMPARE(readBytes(groupFile(0)), textOf(expected.join(u' ')));
    if (refused) {
        QCOMPARE(m_shown.size(), 1);
        QVERIFY2(m_shown[0].contains(groupFile(0)) && m_shown[0].contains(u"他で変更"_s), qPrintable(m_shown[0]));
    } else {
        QCOMPARE(m_shown, QStringList());
    }
    // The bar shows the file, button i for line i.
    QStringList files;
    for (const QString &entry : std::as_const(expected))
        files.append(file(entry.left(1) + u".txt"_s));
    QStringList buttonFiles, lineFiles;
    for (const LaunchButton *button : std::as_const(BarProbe::LaunchBtn(form)))
        buttonFiles.append(button->filePath());
    for (const QString &line : form.LaunchPath[0]->lines())
        lineFiles.append(splitEntryLine(line).value(0));
    QCOMPARE(buttonFiles, files);
    QCOMPARE(lineFiles, files);
    QCOMPARE(BarProbe::FlowLayout1(form)->items(), widgetsOf(BarProbe::LaunchBtn(form)));

    // The file is known again: the next save writes the lines in memory
    // (a line typed by hand as a bare path gets its two commas).
    BarProbe::ButtonMouseEnter(form, BarProbe::LaunchBtn(form).first());
    form.DelBtnClick();
    QCOMPARE(readBytes(groupFile(0)), form.LaunchPath[0]->lines().join(u"\r\n"_s).toUtf8() + "\r\n");
}

void TestCommands::reusedButtonsCarryNothingOver()
{
    writeGroup(0, {u"a.txt"_s, u"b.txt"_s, u"c.txt"_s});
    writeGroup(1, {u"d.sh"_s, u"e.txt"_s});
    QVERIFY(writeBytes(file(u"Quillbrook.ini"_s), "[Hint]\r\nShow=1\r\n[Icon]\r\nGlow=3\r\n"));
    TForm1 form(home());
    form.show();
    // The pointer on a turning, pressed button whose menu was asked for.
    LaunchButton *touched = BarProbe::LaunchBtn(form).at(1);
    TestPointer::enter(touched);
    touched->setDown(true);
    QCOMPARE(BarProbe::obj(form), touched);

    form.MenuClick(1);
    QVERIFY(!BarProbe::obj(form));
    QCOMPARE(BarProbe::LaunchBtn(form).size(), 2);
    TForm1 fresh(home());
    fresh.show();
    for (qsizetype i = 0; i < BarProbe::LaunchBtn(form).size(); ++i) {
        const LaunchButton *reused = BarProbe::LaunchBtn(form).at(i);
        const LaunchButton *made = BarProbe::LaunchBtn(fresh).at(i);
        QCOMPARE(reused->filePath(), made->filePath());
        QCOMPARE(reused->toolTip(), made->toolTip());
        QCOMPARE(reused->size(), made->size());
        QCOMPARE(reused->rotationAngle(), 0.0);
        QVERIFY(!reused->isDown());
        QVERIFY(!reused->isMouseOver());
        QCOMPARE(reused->iconPixmap().toImage(), made->iconPixmap().toImage());
    }
}

QTEST_MAIN(TestCommands)
#include "tst_commands.moc"
