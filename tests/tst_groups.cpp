// SPDX-License-Identifier: MIT
#include "app/Unit1.h"
#include "launcher/IconLayer.h"
#include "launcher/IconCache.h"
#include "launcher/LaunchButton.h"
#include "core/files/LocaleCodec.h"
#include "core/files/SystemReason.h"
#include "BarFixture.h"
#include "TestPointer.h"
#include "GroupSetProbe.h"
#include "BarProbe.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QIcon>
#include <QImage>
#include <QMenu>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QTest>

#include <algorithm>
#include <cerrno>
#include <cstdio>

using namespace Qt::StringLiterals;

namespace {

using TestFiles::readBytes;
using TestFiles::writeBytes;

bool writePng(const QString &path, QColor color)
{
    QImage image(64, 64, QImage::Format_ARGB32);
    image.fill(color);
    return image.save(path, "PNG");
}

QColor middleOf(const QPixmap &pixmap)
{
    const QImage image = pixmap.toImage();
    return image.pixelColor(image.width() / 2, image.height() / 2);
}

// The icon's larger side in device-independent pixels.
int iconSideOf(const LaunchButton *button)
{
    const QSizeF size = button->iconPixmap().deviceIndependentSize();
    return qRound(std::max(size.width(), size.height()));
}

using TestPointer::enter;
using TestPointer::leave;

} // namespace

class TestGroups : public QObject, protected BarFixture
{
    Q_OBJECT

private:
    QString groupFile() const { return file(u"QuillbrookPath.txt"_s); }

    // Group 0 of a desktop entry, a picture, a text file, a missing file, a
    // folder and a line of four fields. Returns the lines a save writes: the
    // five entries rebuilt, the line of four fields as it was.
    QStringList writeMixedGroup();
    // A group of one line per path, each an existing text file unless made.
    QStringList writeTextFiles(const QStringList &names);

private Q_SLOTS:
    void init();
    void cleanup();

    void loadsAndSavesMixedGroup();
    void mixedGroupIcons();
    void emptyAndUnusableFiles_data();
    void emptyAndUnusableFiles();
    void unreadableFileIsNeverOverwritten_data();
    void unreadableFileIsNeverOverwritten();
    void fileFromAnotherLocale_data();
    void fileFromAnotherLocale();
    void addingDoesNotSave();
    void hints_data();
    void hints();
    void hoverEffectFromSettings_data();
    void hoverEffectFromSettings();
    void enteringButtonRemembersIt();
    void buttonSize_data();
    void buttonSize();
    void typeIconForOddFiles_data();
    void typeIconForOddFiles();
    void desktopEntryThemeIcon();
    void changedPictureShowsAtRebuild();
    void largeGroupAtStart_data();
    void iconsComeIntoSight();
    void largeGroupAtStart();
};

void TestGroups::init()
{
    QVERIFY(setUp());
    // Icons are shared by path and time; each test builds its files anew.
    IconCache::clear();
}

void TestGroups::cleanup()
{
    tearDown();
}

QStringList TestGroups::writeMixedGroup()
{
    const QString icon = file(u"entry-icon.png"_s);
    const QString entry = file(u"term.desktop"_s);
    const QString picture = file(u"picture.png"_s);
    const QString text = file(u"notes.txt"_s);
    const QString folder = file(u"folder"_s);
    [&] {
        QVERIFY(writePng(icon, Qt::blue));
        QVERIFY(writeBytes(entry,
                           "[Desktop Entry]\nType=Application\nName=Term\nExec=xterm\nIcon=" + icon.toUtf8() + "\n"));
        QVERIFY(writePng(picture, Qt::red));
        QVERIFY(writeBytes(text, "some text\n"));
        QVERIFY(QDir(home()).mkdir(u"folder"_s));
        const QStringList lines = {
            entry + u",--new-window,Terminal"_s, picture + u",,Picture"_s, text,
            file(u"gone.txt"_s) + u",,Gone"_s,   folder + u",,Folder"_s,   text + u",-x,-y,Tool"_s,
        };
        // LF breaks: the save writes CR LF whatever the file held.
        QVERIFY(writeBytes(groupFile(), lines.join(u'\n').toUtf8() + "\n"));
    }();
    return {entry + u",--new-window,Terminal"_s, picture + u",,Picture"_s, text + u",,"_s,
            file(u"gone.txt"_s) + u",,Gone"_s,   folder + u",,Folder"_s,   text + u",-x,-y,Tool"_s};
}

QStringList TestGroups::writeTextFiles(const QStringList &names)
{
    QStringList paths;
    for (const QString &name : names) {
        paths.append(file(name));
        writeBytes(paths.last(), "x");
    }
    writeBytes(groupFile(), paths.join(u"\r\n"_s).toUtf8() + "\r\n");
    return paths;
}

void TestGroups::loadsAndSavesMixedGroup()
{
    const QStringList rebuilt = writeMixedGroup();
    if (QTest::currentTestFailed())
        return;

    TForm1 form(home());
    form.show();

    // The missing file's entry keeps its button; the line of four fields
    // has none.
    QCOMPARE(BarProbe::LaunchBtn(form).size(), 5);
    QCOMPARE(form.LaunchPath[0]->lines(), rebuilt.mid(0, 5));
    const QStringList files = {file(u"term.desktop"_s), file(u"picture.png"_s), file(u"notes.txt"_s),
                               file(u"gone.txt"_s), file(u"folder"_s)};
    QList<QWidget *> inBar;
    for (int i = 0; i < 5; ++i) {
        LaunchButton *button = BarProbe::LaunchBtn(form)[i];
        QCOMPARE(button->filePath(), files[i]);
        QCOMPARE(button->pos(), QPoint(4 + i * 64, 4));
        QVERIFY(button->isVisible());
        QCOMPARE(button->isFileMissing(), i == 3);
        inBar.append(button);
    }
    QCOMPARE(BarProbe::FlowLayout1(form)->items(), inBar);
    QCOMPARE(form.focusWidget(), BarProbe::LaunchBtn(form).last());
    // Lines made it: registration mode stays off.
    QVERIFY(!form.isRegistrationAreaShown());
    QVERIFY(BarProbe::MenuItem6(BarProbe::menus(form))->isEnabled());

    QVERIFY(form.SaveGroup());
    QVERIFY(m_shown.isEmpty());
    QCOMPARE(readBytes(groupFile()), rebuilt.join(u"\r\n"_s).toUtf8() + "\r\n");
}

void TestGroups::mixedGroupIcons()
{
    writeMixedGroup();
    if (QTest::currentTestFailed())
        return;

    TForm1 form(home());
    form.show();
    QCOMPARE(BarProbe::LaunchBtn(form).size(), 5);

    // The missing file shows its type's icon.
    for (const LaunchButton *button : std::as_const(BarProbe::LaunchBtn(form))) {
        QVERIFY2(!button->iconPixmap().isNull(), qPrintable(button->filePath()));
        QCOMPARE(iconSideOf(button), 48);
    }
    // The desktop entry shows the picture its Icon key names.
    QCOMPARE(middleOf(BarProbe::LaunchBtn(form)[0]->iconPixmap()), QColor(Qt::blue));
    // A picture shows itself.
    QCOMPARE(middleOf(BarProbe::LaunchBtn(form)[1]->iconPixmap()), QColor(Qt::red));
}

void TestGroups::emptyAndUnusableFiles_data()
{
    QTest::addColumn<bool>("exists");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("registration");
    QTest::addColumn<QByteArray>("saved");

    QTest::newRow("no file") << false << QByteArray() << true << QByteArray();
    QTest::newRow("0 bytes") << true << QByteArray() << true << QByteArray();
    QTest::newRow("one empty line") << true << QByteArray("\r\n") << false << QByteArray();
    QTest::newRow("only lines that make no entry")
        << true << QByteArray("/tmp,a,b,c\r\n,,\n\r\n") << false << QByteArray("/tmp,a,b,c\r\n,,\r\n");
}

void TestGroups::emptyAndUnusableFiles()
{
    QFETCH(bool, exists);
    QFETCH(QByteArray, bytes);
    QFETCH(bool, registration);
    QFETCH(QByteArray, saved);

    if (exists)
        QVERIFY(writeBytes(groupFile(), bytes));

    TForm1 form(home());
    form.show();

    QVERIFY(BarProbe::LaunchBtn(form).isEmpty());
    QVERIFY(form.LaunchPath[0]->lines().isEmpty());
    QCOMPARE(form.isRegistrationAreaShown(), registration);
    QCOMPARE(BarProbe::AddMenu(BarProbe::menus(form))->isChecked(), registration);
    QCOMPARE(BarProbe::AddMenu2(BarProbe::menus(form))->isChecked(), registration);
    QCOMPARE(BarProbe::MenuItem6(BarProbe::menus(form))->isEnabled(), !registration);
    QCOMPARE(QFileInfo::exists(groupFile()), exists);
    if (exists)
        QCOMPARE(readBytes(groupFile()), bytes);

    // Lines that made no entry are kept at the save, empty lines go; an
    // empty group is an empty file, not a deleted one.
    QVERIFY(form.SaveGroup());
    QVERIFY(QFileInfo(groupFile()).isFile());
    QCOMPARE(readBytes(groupFile()), saved);
}

void TestGroups::unreadableFileIsNeverOverwritten_data()
{
    QTest::addColumn<bool>("danglingLink");
    QTest::addColumn<int>("reason");

    QTest::newRow("a folder in its place") << false << EISDIR;
    // A write would go through the link and create its target.
    QTest::newRow("a link to a missing file") << true << ENOENT;
}

void TestGroups::unreadableFileIsNeverOverwritten()
{
    QFETCH(bool, danglingLink);
    QFETCH(int, reason);

    const QString target = file(u"elsewhere.txt"_s);
    if (danglingLink)
        QVERIFY(QFile::link(target, groupFile()));
    else
        QVERIFY(QDir(home()).mkdir(u"QuillbrookPath.txt"_s));
    QVERIFY(writeBytes(file(u"notes.txt"_s), "x"));

    TForm1 form(home());
    form.show();
    QVERIFY(BarProbe::LaunchBtn(form).isEmpty());
    // Not an empty group: the bar says so, and offers no registration into
    // a file it will not write.
    QVERIFY(!form.isRegistrationAreaShown());
    QVERIFY(!BarProbe::AddMenu2(BarProbe::menus(form))->isChecked());
    QCOMPARE(m_shown.size(), 1);
    QCOMPARE(m_shown[0], u"ファイル \"%1\" を読み込めません。%2"_s.arg(groupFile(), systemReason(reason)));

    // An entry added all the same is refused at the save.
    QVERIFY(
        GroupSetProbe::unsavedModel(form.LaunchPath, 0).append({TRec{file(u"notes.txt"_s), QString(), u"notes"_s}}));
    QVERIFY(!form.SaveGroup());

    QCOMPARE(m_shown.size(), 2);
    QVERIFY2(m_shown[1].endsWith(u"読み込めなかったファイルは上書きしません"_s), qPrintable(m_shown[1]));
    QVERIFY(m_shown[1].contains(groupFile()));
    QCOMPARE(form.LaunchPath[0]->lines(), QStringList{file(u"notes.txt"_s) + u",,notes"_s});

    const QFileInfo info(groupFile());
    if (danglingLink) {
        QVERIFY(info.isSymLink());
        QCOMPARE(info.symLinkTarget(), target);
        QVERIFY(!QFileInfo::exists(target));
    } else {
        QVERIFY(info.isDir());
        QCOMPARE(QDir(groupFile()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList{});
    }
}

void TestGroups::fileFromAnotherLocale_data()
{
    // "@" stands for the test's folder.
    QTest::addColumn<QByteArray>("charset");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("buttons");
    QTest::addColumn<bool>("saved");
    QTest::addColumn<QByteArray>("after");

    // 猫 in UTF-8 is valid Shift_JIS too; saved, it is in the locale's form.
    QTest::newRow("UTF-8 under Shift_JIS")
        << QByteArray("SHIFT_JIS") << QByteArray("@/\xE7\x8C\xAB.txt,,\xE7\x8C\xAB\r\n@/b.txt,,\r\n") << 2 << true
        << QByteArray("@/\x94\x4C.txt,,\x94\x4C\r\n@/b.txt,,\r\n");
    // The undecodable line names no file that is there: its button is greyed.
    QTest::newRow("Shift_JIS under UTF-8")
        << QByteArray("UTF-8") << QByteArray("@/\x94\x4C.txt,,\r\n@/b.txt,,\r\n") << 2 << false << QByteArray();
    QTest::newRow("valid in neither") << QByteArray("SHIFT_JIS")
                                      << QByteArray("@/\x94\x4C.txt,,\r\n@/\x80"
                                                    "b.txt,,\r\n")
                                      << 2 << false << QByteArray();
}

void TestGroups::fileFromAnotherLocale()
{
    QFETCH(QByteArray, charset);
    QFETCH(QByteArray, bytes);
    QFETCH(int, buttons);
    QFETCH(bool, saved);
    QFETCH(QByteArray, after);

    const QByteArray folder = QFile::encodeName(m_dir->path());
    QVERIFY(writeBytes(file(u"猫.txt"_s), "x"));
    QVERIFY(writeBytes(file(u"b.txt"_s), "x"));
    QVERIFY(writeBytes(groupFile(), bytes.replace('@', folder)));
    LocaleCodec::setCharsetForTesting(charset);
    const auto restore = qScopeGuard([] { LocaleCodec::setCharsetForTesting({}); });

    TForm1 form(home());
    form.show();
    QCOMPARE(BarProbe::LaunchBtn(form).size(), buttons);

    // Lines whose files are there are never lost to a save: either they
    // were read as they are, or the file is not written at all.
    QCOMPARE(form.SaveGroup(), saved);
    if (saved) {
        QVERIFY(m_shown.isEmpty());
        QCOMPARE(readBytes(groupFile()), after.replace('@', folder));
    } else {
        // Told at the load, then at the refused save.
        QCOMPARE(m_shown.size(), 2);
        QVERIFY2(m_shown[0].endsWith(u"ファイルの文字コードを判別できません。"_s), qPrintable(m_shown[0]));
        QVERIFY2(m_shown[1].endsWith(u"読み込めなかったファイルは上書きしません"_s), qPrintable(m_shown[1]));
        QCOMPARE(readBytes(groupFile()), bytes);
    }
}

void TestGroups::addingDoesNotSave()
{
    const QStringList paths = writeTextFiles({u"a.txt"_s});
    const QByteArray before = readBytes(groupFile());

    TForm1 form(home());
    form.show();
    QVERIFY(GroupSetProbe::unsavedModel(form.LaunchPath, 0).append({TRec{paths[0], QString(), u"a"_s}}));
    QVERIFY(GroupSetProbe::unsavedModel(form.LaunchPath, 0).append({TRec{paths[0], QString(), u"a"_s}}));

    // The same file twice is two entries; nothing is written until a save.
    QCOMPARE(BarProbe::LaunchBtn(form).size(), 3);
    QCOMPARE(form.LaunchPath[0]->lines(), (QStringList{paths[0] + u",,"_s, paths[0] + u",,a"_s, paths[0] + u",,a"_s}));
    QCOMPARE(form.focusWidget(), BarProbe::LaunchBtn(form).last());
    QCOMPARE(readBytes(groupFile()), before);
}

void TestGroups::hints_data()
{
    QTest::addColumn<bool>("showHints");
    QTest::addColumn<QString>("rest"); // the line after the file's path
    QTest::addColumn<QString>("hint");

    QTest::newRow("parameter path") << true << u",/home/u/report.txt,Editor"_s << u"Editor -> report.txt"_s;
    QTest::newRow("parameter option") << true << u",-x,Editor"_s << u"Editor -> -x"_s;
    QTest::newRow("no parameter") << true << u",,Editor"_s << u"Editor"_s;
    QTest::newRow("parameter, no hint") << true << u",-x"_s << u" -> -x"_s;
    QTest::newRow("bare path") << true << QString() << QString();
    QTest::newRow("hints off") << false << u",/home/u/report.txt,Editor"_s << QString();
    QTest::newRow("hints off, no parameter") << false << u",,Editor"_s << QString();
}

void TestGroups::hints()
{
    QFETCH(bool, showHints);
    QFETCH(QString, rest);
    QFETCH(QString, hint);

    QVERIFY(writeBytes(file(u"notes.txt"_s), "x"));
    QVERIFY(writeBytes(groupFile(), (file(u"notes.txt"_s) + rest).toUtf8() + "\r\n"));
    QVERIFY(writeBytes(file(u"Quillbrook.ini"_s), showHints ? "[Hint]\r\nShow=1\r\n" : "[Hint]\r\nShow=0\r\n"));

    TForm1 form(home());
    form.show();
    QCOMPARE(form.settings().FShowhint, showHints);
    QCOMPARE(BarProbe::LaunchBtn(form).size(), 1);
    QCOMPARE(BarProbe::LaunchBtn(form)[0]->toolTip(), hint);
}

void TestGroups::hoverEffectFromSettings_data()
{
    QTest::addColumn<int>("glow");
    QTest::addColumn<int>("effect");

    QTest::newRow("none") << 0 << 0;
    QTest::newRow("outer glow") << 1 << 1;
    QTest::newRow("inner glow") << 2 << 2;
    QTest::newRow("rotate") << 3 << 3;
    QTest::newRow("fade") << 4 << 4;
    QTest::newRow("magnify") << 5 << 5;
    QTest::newRow("6") << 6 << 0;
    QTest::newRow("-1") << -1 << 0;
}

void TestGroups::hoverEffectFromSettings()
{
    QFETCH(int, glow);
    QFETCH(int, effect);

    writeTextFiles({u"a.txt"_s});
    QVERIFY(writeBytes(file(u"Quillbrook.ini"_s),
                       u"[Icon]\r\nGlow=%1\r\n[Color]\r\nGlow=-16711936\r\n"_s.arg(glow).toUtf8()));

    TForm1 form(home());
    form.show();
    QCOMPARE(form.settings().GlowNo, glow);
    QCOMPARE(BarProbe::LaunchBtn(form).size(), 1);
    LaunchButton *button = BarProbe::LaunchBtn(form)[0];
    QCOMPARE(button->hoverEffect(), effect);
    if (effect == 1 || effect == 2)
        QCOMPARE(button->glowColor(), QColor(Qt::green));
    // Without an effect the button is otherwise complete.
    QCOMPARE(button->size(), QSize(62, 62));
    QVERIFY(!button->iconPixmap().isNull());

    enter(button);
    QVERIFY(button->isMouseOver());
    QCOMPARE(button->magnifying(), effect == 5);
    leave(button);
    QVERIFY(!button->isMouseOver());
    QVERIFY(!button->magnifying());
}

void TestGroups::enteringButtonRemembersIt()
{
    writeTextFiles({u"a.txt"_s, u"b.txt"_s});
    TForm1 form(home());
    form.show();
    QCOMPARE(BarProbe::LaunchBtn(form).size(), 2);

    enter(BarProbe::LaunchBtn(form)[1]);
    QCOMPARE(BarProbe::obj(form), BarProbe::LaunchBtn(form)[1]);
    // Leaving does not forget it.
    leave(BarProbe::LaunchBtn(form)[1]);
    QCOMPARE(BarProbe::obj(form), BarProbe::LaunchBtn(form)[1]);
    enter(BarProbe::LaunchBtn(form)[0]);
    QCOMPARE(BarProbe::obj(form), BarProbe::LaunchBtn(form)[0]);
}

void TestGroups::buttonSize_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("padding");
    QTest::addColumn<int>("side");
    QTest::addColumn<QPointF>("magnifyCenter");

    QTest::newRow("defaults") << 48 << 14 << 62 << QPointF(24, 24);
    QTest::newRow("odd width") << 47 << 14 << 61 << QPointF(23.5, 23.5);
    QTest::newRow("large, no padding") << 100 << 0 << 100 << QPointF(50, 50);
    QTest::newRow("large") << 100 << 14 << 114 << QPointF(50, 50);
}

void TestGroups::buttonSize()
{
    QFETCH(int, width);
    QFETCH(int, padding);
    QFETCH(int, side);
    QFETCH(QPointF, magnifyCenter);

    QVERIFY(writePng(file(u"picture.png"_s), Qt::red));
    QVERIFY(writeBytes(groupFile(), file(u"picture.png"_s).toUtf8() + "\r\n"));
    QVERIFY(writeBytes(file(u"Quillbrook.ini"_s),
                       u"[Icon]\r\nWidth=%1\r\nPadding=%2\r\nGlow=5\r\n"_s.arg(width).arg(padding).toUtf8()));

    TForm1 form(home());
    form.show();
    QCOMPARE(BarProbe::LaunchBtn(form).size(), 1);
    const LaunchButton *button = BarProbe::LaunchBtn(form)[0];
    QCOMPARE(button->size(), QSize(side, side));
    QCOMPARE(button->iconSide(), width);
    QCOMPARE(button->magnifyCenter(), magnifyCenter);
    QCOMPARE(iconSideOf(button), width);
    QCOMPARE(middleOf(button->iconPixmap()), QColor(Qt::red));
}

void TestGroups::typeIconForOddFiles_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("executable");
    QTest::addColumn<bool>("deletedAfterwards");

    QTest::newRow("no extension") << u"README"_s << QByteArray("words") << false << false;
    QTest::newRow("unknown extension") << u"data.zzqqx"_s << QByteArray("\x01\x02\x03", 3) << false << false;
    QTest::newRow("empty file") << u"empty.bin"_s << QByteArray() << false << false;
    QTest::newRow("broken picture") << u"broken.png"_s << QByteArray("not a picture") << false << false;
    QTest::newRow("script") << u"run.sh"_s << QByteArray("#!/bin/sh\n") << true << false;
    QTest::newRow("desktop entry without icon")
        << u"a.desktop"_s << QByteArray("[Desktop Entry]\nName=A\n") << false << false;
    QTest::newRow("desktop entry with missing icon")
        << u"b.desktop"_s << QByteArray("[Desktop Entry]\nIcon=/nowhere/none.png\n") << false << false;
    QTest::newRow("deleted after its button was built") << u"gone.txt"_s << QByteArray("x") << false << true;
}

void TestGroups::typeIconForOddFiles()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, content);
    QFETCH(bool, executable);
    QFETCH(bool, deletedAfterwards);

    const QString path = file(name);
    QVERIFY(writeBytes(path, content));
    if (executable)
        QVERIFY(QFile::setPermissions(path, QFile::permissions(path) | QFile::ExeOwner));
    QVERIFY(writeBytes(groupFile(), path.toUtf8() + "\r\n"));

    TForm1 form(home());
    form.show();
    QCOMPARE(BarProbe::LaunchBtn(form).size(), 1);
    LaunchButton *button = BarProbe::LaunchBtn(form)[0];

    if (deletedAfterwards) {
        QVERIFY(QFile::remove(path));
        button->setIconPixmap(QPixmap());
        // What a change of style or screen does: the look is built again.
        QEvent styleChange(QEvent::StyleChange);
        QApplication::sendEvent(button, &styleChange);
    }
    QVERIFY(!button->iconPixmap().isNull());
    QCOMPARE(iconSideOf(button), 48);
}

void TestGroups::desktopEntryThemeIcon()
{
    // A desktop session's theme: the offscreen platform offers no icon theme
    // folders, so look where the desktop keeps them.
    const QStringList oldPaths = QIcon::themeSearchPaths();
    const QString oldTheme = QIcon::themeName();
    const auto restore = qScopeGuard([&] {
        QIcon::setThemeSearchPaths(oldPaths);
        QIcon::setThemeName(oldTheme);
    });
    const QStringList iconDirs = QStandardPaths::locateAll(QStandardPaths::GenericDataLocation, u"icons"_s,
                                                           QStandardPaths::LocateDirectory);
    QIcon::setThemeSearchPaths(oldPaths + iconDirs);
    for (const QString &dir : iconDirs) {
        for (const QString &theme : QDir(dir).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
            if (QIcon::hasThemeIcon(u"utilities-terminal"_s))
                break;
            if (QFileInfo::exists(dir + u'/' + theme + u"/index.theme"_s))
                QIcon::setThemeName(theme);
        }
    }
    if (!QIcon::hasThemeIcon(u"utilities-terminal"_s))
        QSKIP("no icon theme with utilities-terminal installed");

    const QString path = file(u"terminal.desktop"_s);
    QVERIFY(writeBytes(path, "[Desktop Entry]\nType=Application\nName=T\nExec=xterm\nIcon=utilities-terminal\n"));
    QVERIFY(writeBytes(groupFile(), path.toUtf8() + "\r\n"));

    TForm1 form(home());
    form.show();
    QCOMPARE(BarProbe::LaunchBtn(form).size(), 1);
    const QPixmap shown = BarProbe::LaunchBtn(form)[0]->iconPixmap();
    QVERIFY(!shown.isNull());
    QCOMPARE(iconSideOf(BarProbe::LaunchBtn(form)[0]), 48);
    // The named icon, not the generic one of desktop entries.
    QVERIFY(shown.toImage() != IconCache::typeIcon(path, 48, shown.devicePixelRatio()).toImage());
}

void TestGroups::changedPictureShowsAtRebuild()
{
    const QString picture = file(u"picture.png"_s);
    QVERIFY(writePng(picture, Qt::red));
    QVERIFY(writeBytes(groupFile(), picture.toUtf8() + "\r\n"));
    TForm1 form(home());
    form.show();
    QCOMPARE(middleOf(BarProbe::LaunchBtn(form)[0]->iconPixmap()), QColor(Qt::red));

    // Replaced by rename within the same instant and with the same size, as
    // an editor saving twice in a second may: only the inode tells.
    QFile old(picture);
    QVERIFY(old.open(QIODevice::ReadOnly));
    const QDateTime modified = old.fileTime(QFileDevice::FileModificationTime);
    const qint64 size = old.size();
    old.close();
    const QString next = file(u"next.png"_s);
    QVERIFY(writePng(next, Qt::blue));
    QCOMPARE(QFileInfo(next).size(), size);
    QFile replacement(next);
    QVERIFY(replacement.open(QIODevice::ReadWrite));
    QVERIFY(replacement.setFileTime(modified, QFileDevice::FileModificationTime));
    replacement.close();
    QVERIFY(::rename(QFile::encodeName(next).constData(), QFile::encodeName(picture).constData()) == 0);

    const auto [iconSize, iconCorner] = form.buttonIconSize();
    BarProbe::rebuildButtons(form, iconSize, iconCorner);
    QCOMPARE(BarProbe::LaunchBtn(form).size(), 1);
    QCOMPARE(middleOf(BarProbe::LaunchBtn(form)[0]->iconPixmap()), QColor(Qt::blue));
}

void TestGroups::largeGroupAtStart_data()
{
    // What reaches a bar whose rows far beyond its edge have no buttons.
    QTest::addColumn<QString>("before");
    QTest::newRow("nothing") << u"nothing"_s;
    QTest::newRow("End key") << u"key"_s;
    QTest::newRow("a save") << u"save"_s;
    QTest::newRow("a switch and back") << u"switch"_s;
}

void TestGroups::largeGroupAtStart()
{
    QFETCH(QString, before);
    QStringList names;
    for (int i = 0; i < 150; ++i)
        names.append(u"file%1.txt"_s.arg(i));
    const QStringList paths = writeTextFiles(names);
    QStringList lines;
    for (const QString &path : paths)
        lines.append(path + u",,"_s);
    const QByteArray written = readBytes(groupFile());

    TForm1 form(home());
    form.show();
    const auto made = [&form] {
        const QList<LaunchButton *> &buttons = BarProbe::LaunchBtn(form);
        return std::count_if(buttons.cbegin(), buttons.cend(), [](const LaunchButton *b) { return b; });
    };
    QCOMPARE(BarProbe::LaunchBtn(form).size(), paths.size());
    QVERIFY2(made() < paths.size(), "rows out of sight have no buttons");

    if (before == u"key") {
        QTest::keyClick(form.focusWidget(), Qt::Key_Home);
        QCOMPARE(form.focusWidget(), BarProbe::LaunchBtn(form).first());
        QTest::keyClick(form.focusWidget(), Qt::Key_End);
        QCOMPARE(form.focusWidget(), BarProbe::LaunchBtn(form).last());
    } else if (before == u"save") {
        QVERIFY(form.SaveGroup());
        QCOMPARE(readBytes(groupFile()), lines.join(u"\r\n"_s).toUtf8() + "\r\n");
    } else if (before == u"switch") {
        form.MenuClick(1);
        QVERIFY(BarProbe::LaunchBtn(form).isEmpty());
        form.MenuClick(0);
    }

    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QCOMPARE(BarProbe::LaunchBtn(form).size(), paths.size());
    QVERIFY(made() < paths.size());
    QCOMPARE(form.LaunchPath[0]->lines(), lines);
    QCOMPARE(BarProbe::FlowLayout1(form)->items(),
             QList<QWidget *>(BarProbe::LaunchBtn(form).cbegin(), BarProbe::LaunchBtn(form).cend()));
    QTRY_COMPARE(form.focusWidget(), BarProbe::LaunchBtn(form).last());
    for (int i = 0; i < paths.size(); ++i) {
        if (const LaunchButton *button = BarProbe::LaunchBtn(form)[i])
            QCOMPARE(button->filePath(), paths[i]);
    }
    if (before != u"save")
        QCOMPARE(readBytes(groupFile()), written);
    QVERIFY(m_shown.isEmpty());
}

void TestGroups::iconsComeIntoSight()
{
    // Icons are made for the buttons the bar shows; the others get theirs
    // when a larger bar shows them too (rows far out of sight have no
    // button yet).
    QStringList names;
    for (int i = 0; i < 60; ++i)
        names.append(u"file%1.txt"_s.arg(i));
    writeTextFiles(names);
    TForm1 form(home());
    form.resize(500, 100);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QTRY_COMPARE(BarProbe::LaunchBtn(form).size(), names.size());
    auto inSight = [&form](const LaunchButton *button) {
        return BarProbe::FlowLayout1(form)->rect().intersects(button->geometry());
    };
    QTRY_VERIFY(std::all_of(BarProbe::LaunchBtn(form).cbegin(), BarProbe::LaunchBtn(form).cend(),
                            [&](const LaunchButton *button) {
                                return !button || !inSight(button) || !button->iconPixmap().isNull();
                            }));
    QVERIFY(!inSight(BarProbe::LaunchBtn(form).last()));
    QVERIFY(BarProbe::LaunchBtn(form).last()->iconPixmap().isNull());

    form.resize(500, 700);
    QTRY_VERIFY(inSight(BarProbe::LaunchBtn(form).last()));
    QTRY_VERIFY(std::all_of(BarProbe::LaunchBtn(form).cbegin(), BarProbe::LaunchBtn(form).cend(),
                            [](const LaunchButton *button) { return button && !button->iconPixmap().isNull(); }));
}

QTEST_MAIN(TestGroups)
#include "tst_groups.moc"
