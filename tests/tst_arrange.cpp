// SPDX-License-Identifier: MIT
// Arranging the bar by hand: the focus keys over a bar of two rows, the
// button's menu from the keyboard, moving an entry, a drop of several files
// before a button, and opening an entry's folder.
#include "app/DropArea.h"
#include "app/Unit1.h"
#include "launcher/IconLayer.h"
#include "launcher/LaunchButton.h"
#include "settings/Unit2.h"
#include "TestFiles.h"
#include "BarFixture.h"
#include "BarProbe.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QDir>
#include <QDragEnterEvent>
#include <QListWidget>
#include <QMenu>
#include <QMimeData>
#include <QMutex>
#include <QTest>
#include <QUrl>

using namespace Qt::StringLiterals;
using TestFiles::readBytes;
using TestFiles::writeBytes;

class TestArrange : public QObject, protected BarFixture
{
    Q_OBJECT

private:
    // Group 0 with one entry per name, each an existing file (a name ending
    // in "/" a folder); returns the lines.
    QStringList writeGroup(const QStringList &names)
    {
        QStringList lines;
        for (const QString &name : names) {
            QString path = file(name);
            if (name.endsWith(u'/')) {
                QDir().mkpath(path);
                path.chop(1);
            } else {
                QDir().mkpath(QFileInfo(path).path());
                writeBytes(path, "x\n");
            }
            lines.append(path + u",,"_s + QFileInfo(path).baseName());
        }
        writeBytes(file(groupFileName(0)), lines.join(u"\r\n"_s).toUtf8() + "\r\n");
        return lines;
    }
    static QStringList namesOf(const TForm1 &form)
    {
        QStringList names;
        for (const LaunchButton *button : BarProbe::LaunchBtn(form))
            names.append(QFileInfo(button->filePath()).fileName());
        return names;
    }
    // Three buttons on the first row, two on the second.
    void showTwoRows(TForm1 &form)
    {
        writeGroup({u"a.txt"_s, u"b.txt"_s, u"c.txt"_s, u"d.txt"_s, u"e.txt"_s});
        form.show();
        form.resize(230, 200);
        form.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        QCOMPARE(BarProbe::LaunchBtn(form).size(), 5);
        QCOMPARE(BarProbe::LaunchBtn(form)[3]->y(), BarProbe::LaunchBtn(form)[4]->y());
        QVERIFY(BarProbe::LaunchBtn(form)[2]->y() < BarProbe::LaunchBtn(form)[3]->y());
    }

private Q_SLOTS:
    void init() { QVERIFY(setUp()); }
    void cleanup() { tearDown(); }

    void focusKeys_data();
    void focusKeys();
    void menuKeyOpensFocusedButtonsMenu_data();
    void menuKeyOpensFocusedButtonsMenu();
    void moveEntry();
    void dropManyBeforeButton();
    void openFolder_data();
    void openFolder();
};

void TestArrange::focusKeys_data()
{
    // The bar:  0 1 2
    //           3 4
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("to");

    QTest::newRow("right") << 0 << int(Qt::Key_Right) << 1;
    QTest::newRow("right at a row's end goes on below") << 2 << int(Qt::Key_Right) << 3;
    QTest::newRow("left at a row's start goes back above") << 3 << int(Qt::Key_Left) << 2;
    QTest::newRow("left at the first stays") << 0 << int(Qt::Key_Left) << 0;
    QTest::newRow("right at the last stays") << 4 << int(Qt::Key_Right) << 4;
    QTest::newRow("down") << 1 << int(Qt::Key_Down) << 4;
    QTest::newRow("down to the nearest of a shorter row") << 2 << int(Qt::Key_Down) << 4;
    QTest::newRow("up") << 3 << int(Qt::Key_Up) << 0;
    QTest::newRow("up at the top stays") << 1 << int(Qt::Key_Up) << 1;
    QTest::newRow("down at the bottom stays") << 4 << int(Qt::Key_Down) << 4;
    QTest::newRow("home") << 4 << int(Qt::Key_Home) << 0;
    QTest::newRow("end") << 1 << int(Qt::Key_End) << 4;
}

void TestArrange::focusKeys()
{
    QFETCH(int, from);
    QFETCH(int, key);
    QFETCH(int, to);

    TForm1 form(home());
    showTwoRows(form);
    BarProbe::LaunchBtn(form)[from]->setFocus(Qt::MouseFocusReason);
    QVERIFY(!BarProbe::LaunchBtn(form)[from]->showsFocusRing());
    QTest::keyClick(form.windowHandle(), Qt::Key(key));
    QCOMPARE(QApplication::focusWidget(), BarProbe::LaunchBtn(form)[to]);
    // The keyboard's focus shows, in every case.
    QVERIFY(BarProbe::LaunchBtn(form)[to]->showsFocusRing());
    for (const LaunchButton *button : std::as_const(BarProbe::LaunchBtn(form)))
        QCOMPARE(button->showsFocusRing(), button == BarProbe::LaunchBtn(form)[to]);
}

void TestArrange::menuKeyOpensFocusedButtonsMenu_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::newRow("menu key") << int(Qt::Key_Menu) << int(Qt::NoModifier);
    QTest::newRow("shift+F10") << int(Qt::Key_F10) << int(Qt::ShiftModifier);
}

void TestArrange::menuKeyOpensFocusedButtonsMenu()
{
    QFETCH(int, key);
    QFETCH(int, modifiers);

    TForm1 form(home());
    showTwoRows(form);
    // The pointer last passed another button: the menu is the focused one's.
    BarProbe::ButtonMouseEnter(form, BarProbe::LaunchBtn(form)[0]);
    BarProbe::LaunchBtn(form)[3]->setFocus(Qt::TabFocusReason);
    if (key == Qt::Key_Menu) {
        // The window system turns the Menu key into a menu request for the
        // focused widget itself.
        QContextMenuEvent request(QContextMenuEvent::Keyboard, QPoint(5, 5),
                                  QApplication::focusWidget()->mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(QApplication::focusWidget(), &request);
    } else {
        QTest::keyClick(form.windowHandle(), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    }
    QTRY_VERIFY(BarProbe::PopupMenu1(BarProbe::menus(form))->isVisible());
    QCOMPARE(BarProbe::obj(form), BarProbe::LaunchBtn(form)[3]);
    BarProbe::PopupMenu1(BarProbe::menus(form))->hide();
    // And the menu's command acts on it.
    form.DelBtnClick();
    QCOMPARE(namesOf(form), QStringList({u"a.txt"_s, u"b.txt"_s, u"c.txt"_s, u"e.txt"_s}));
}

void TestArrange::moveEntry()
{
    const QStringList lines = writeGroup({u"a.txt"_s, u"b.txt"_s, u"c.txt"_s, u"d.txt"_s});
    TForm1 form(home());
    TForm2 settings(&form);
    form.setDialogs(&settings, nullptr);
    form.show();
    settings.show();

    QVERIFY(form.moveEntry(0, 2));
    const QStringList moved{lines[1], lines[2], lines[0], lines[3]};
    QCOMPARE(form.LaunchPath[0]->lines(), moved);
    QCOMPARE(namesOf(form), QStringList({u"b.txt"_s, u"c.txt"_s, u"a.txt"_s, u"d.txt"_s}));
    QCOMPARE(BarProbe::FlowLayout1(form)->items(),
             QList<QWidget *>(BarProbe::LaunchBtn(form).begin(), BarProbe::LaunchBtn(form).end()));
    // Placed in the new order, left to right.
    for (qsizetype i = 1; i < BarProbe::LaunchBtn(form).size(); ++i)
        QVERIFY(BarProbe::LaunchBtn(form)[i - 1]->x() < BarProbe::LaunchBtn(form)[i]->x());
    QCOMPARE(readBytes(file(groupFileName(0))), moved.join(u"\r\n"_s).toUtf8() + "\r\n");
    QStringList listed;
    for (int i = 0; i < settings.ListBox1->count(); ++i)
        listed.append(settings.ListBox1->item(i)->text());
    QCOMPARE(listed, QStringList({u"b.txt"_s, u"c.txt"_s, u"a.txt"_s, u"d.txt"_s}));

    // Nowhere to go: nothing moves and nothing is written.
    QVERIFY(!form.moveEntry(3, 4));
    QVERIFY(!form.moveEntry(1, 1));
    QCOMPARE(form.LaunchPath[0]->lines(), moved);
    QCOMPARE(m_shown, QStringList());
    settings.close();
}

void TestArrange::dropManyBeforeButton()
{
    const QStringList lines = writeGroup({u"a.txt"_s, u"b.txt"_s, u"c.txt"_s});
    writeBytes(file(u"d.txt"_s), "x\n");
    QDir().mkpath(file(u"e.dir"_s));
    TForm1 form(home());
    form.show();
    form.AddMenuClick();
    QVERIFY(form.isRegistrationAreaShown());

    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(file(u"d.txt"_s)), QUrl::fromLocalFile(file(u"e.dir"_s))});
    // On the second button, beneath the drop area.
    const QPoint onB = BarProbe::DropTarget1(form)->mapFrom(
        &form, BarProbe::LaunchBtn(form)[1]->mapTo(&form, BarProbe::LaunchBtn(form)[1]->rect().center()));
    QDropEvent drop(onB, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QDragEnterEvent enter(onB, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(BarProbe::DropTarget1(form), &enter);
    QApplication::sendEvent(BarProbe::DropTarget1(form), &drop);

    QCOMPARE(m_shown, QStringList());
    const QStringList expected{lines[0], file(u"d.txt"_s) + u",,d"_s, file(u"e.dir"_s) + u",,e"_s, lines[1], lines[2]};
    QCOMPARE(form.LaunchPath[0]->lines(), expected);
    QCOMPARE(namesOf(form), QStringList({u"a.txt"_s, u"d.txt"_s, u"e.dir"_s, u"b.txt"_s, u"c.txt"_s}));
    QCOMPARE(BarProbe::FlowLayout1(form)->items(),
             QList<QWidget *>(BarProbe::LaunchBtn(form).begin(), BarProbe::LaunchBtn(form).end()));
    QCOMPARE(readBytes(file(groupFileName(0))), expected.join(u"\r\n"_s).toUtf8() + "\r\n");

    // Off the buttons: at the end.
    writeBytes(file(u"f.txt"_s), "x\n");
    mime.setUrls({QUrl::fromLocalFile(file(u"f.txt"_s))});
    QDropEvent dropOff(QPointF(BarProbe::DropTarget1(form)->width() - 5, BarProbe::DropTarget1(form)->height() - 5),
                       Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QDragEnterEvent enterOff(dropOff.position().toPoint(), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(BarProbe::DropTarget1(form), &enterOff);
    QApplication::sendEvent(BarProbe::DropTarget1(form), &dropOff);
    QCOMPARE(namesOf(form).last(), u"f.txt"_s);
    QCOMPARE(m_shown, QStringList());
}

void TestArrange::openFolder_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("folder");
    QTest::newRow("file") << u"sub/a.txt"_s << u"sub"_s;
    QTest::newRow("folder") << u"sub/proj/"_s << u"sub"_s;
}

void TestArrange::openFolder()
{
    QFETCH(QString, name);
    QFETCH(QString, folder);

    writeGroup({u"x.txt"_s, name});
    TForm1 form(home());
    QMutex mutex;
    QStringList opened;
    QList<QThread *> threads;
    form.setOpener([&](const QString &path, const QString &params, const QString &, QString *) {
        QMutexLocker lock(&mutex);
        opened.append(path + u'|' + params);
        threads.append(QThread::currentThread());
        return true;
    });
    form.show();
    BarProbe::ButtonMouseEnter(form, BarProbe::LaunchBtn(form)[1]);
    BarProbe::FolderCmd(BarProbe::menus(form))->trigger();
    QVERIFY(form.waitForLaunches());
    QMutexLocker lock(&mutex);
    QCOMPARE(opened, QStringList{file(folder) + u'|'});
    QVERIFY(threads.first() != QThread::currentThread());
    QCOMPARE(BarProbe::FolderCmd(BarProbe::menus(form))->text(), u"フォルダを開く"_s);
}

QTEST_MAIN(TestArrange)
#include "tst_arrange.moc"
