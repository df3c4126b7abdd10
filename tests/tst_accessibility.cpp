// SPDX-License-Identifier: MIT
// What screen readers see: each button as a push button named by its entry,
// described by its path and parameters, with a press that launches it; the
// bar, its parts, its menus and both dialogs named.
#include "app/Unit1.h"
#include "editor/Unit3.h"
#include "settings/Unit2.h"
#include "BarFixture.h"
#include "BarProbe.h"
#include "TestFiles.h"

#include <QAbstractSpinBox>
#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QComboBox>
#include <QLineEdit>
#include <QMutex>
#include <QPushButton>
#include <QTest>

using namespace Qt::StringLiterals;

class TestAccessibility : public QObject, protected BarFixture
{
    Q_OBJECT

private:
    void writeGroup(int group, const QStringList &lines)
    {
        QVERIFY(TestFiles::writeBytes(file(groupFileName(group)), lines.join(u"\n"_s).toUtf8() + "\n"));
    }
    static QAccessibleInterface *accessible(QObject *object)
    {
        QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(object);
        return iface;
    }
    static QString name(QObject *object) { return accessible(object)->text(QAccessible::Name); }
    static QString description(QObject *object) { return accessible(object)->text(QAccessible::Description); }

private Q_SLOTS:
    void init() { QVERIFY(setUp()); }
    void cleanup() { tearDown(); }

    void buttonSpeaks_data();
    void buttonSpeaks();
    void pressLaunchesWithoutFocus();
    void namesFollowEntries();
    void barAndDialogsNamed();
    void keyboardReachesEveryEntry();
};

void TestAccessibility::buttonSpeaks_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("description");

    QTest::newRow("hint") << u"/usr/bin/env,,画像編集"_s << u"画像編集"_s << u"/usr/bin/env"_s;
    QTest::newRow("parameters") << u"/usr/bin/env,-p /tmp/a b,Ed"_s << u"Ed"_s << u"/usr/bin/env -p /tmp/a b"_s;
    QTest::newRow("no hint: the file name") << u"/bin/sh"_s << u"sh"_s << u"/bin/sh"_s;
    QTest::newRow("blank hint") << u"/bin/sh,,  "_s << u"sh"_s << u"/bin/sh"_s;
    QTest::newRow("folder") << u"/usr/share/"_s << u"share"_s << u"/usr/share/"_s;
    QTest::newRow("root") << u"/"_s << u"/"_s << u"/"_s;
    QTest::newRow("missing file") << u"/nonexistent/report.txt,-v"_s << u"report.txt"_s
                                  << u"ファイルが見つかりません: /nonexistent/report.txt -v"_s;
}

void TestAccessibility::buttonSpeaks()
{
    QFETCH(QString, line);
    QFETCH(QString, name);
    QFETCH(QString, description);

    writeGroup(0, {line});
    TForm1 form(home());
    form.show();
    QCOMPARE(BarProbe::LaunchBtn(form).size(), 1);
    LaunchButton *button = BarProbe::LaunchBtn(form)[0];
    QAccessibleInterface *iface = accessible(button);
    QVERIFY(iface);
    QCOMPARE(iface->role(), QAccessible::Button);
    QCOMPARE(iface->text(QAccessible::Name), name);
    QCOMPARE(iface->text(QAccessible::Description), description);
    QVERIFY(iface->actionInterface());
    QVERIFY(iface->actionInterface()->actionNames().contains(QAccessibleActionInterface::pressAction()));
}

void TestAccessibility::pressLaunchesWithoutFocus()
{
    // Existing files, so the press launches rather than reports them missing.
    writeGroup(0, {u"/bin/sh,-c true,Shell"_s, u"/usr/bin/env,,Env"_s});
    TForm1 form(home());
    QMutex mutex;
    QStringList opened;
    form.setOpener([&](const QString &path, const QString &params, const QString &, QString *) {
        QMutexLocker lock(&mutex);
        opened.append(path + u'|' + params);
        return true;
    });
    form.show();
    const QList<LaunchButton *> &buttons = BarProbe::LaunchBtn(form);
    QCOMPARE(buttons.size(), 2);
    buttons[1]->setFocus();
    QAccessibleInterface *iface = accessible(buttons[0]);
    iface->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    // A screen reader's press is an animated click, over in a moment.
    QTRY_VERIFY(form.waitForLaunches() && [&] {
        QMutexLocker lock(&mutex);
        return !opened.isEmpty();
    }());
    QMutexLocker lock(&mutex);
    QCOMPARE(opened, QStringList{u"/bin/sh|-c true"_s});
    QCOMPARE(m_shown, QStringList());
}

void TestAccessibility::namesFollowEntries()
{
    writeGroup(0, {u"/usr/bin/env,,Env"_s, u"/bin/sh,,Shell"_s});
    writeGroup(1, {u"/bin/sh,,Terminal"_s});
    TForm1 form(home());
    form.show();
    LaunchButton *first = BarProbe::LaunchBtn(form)[0];

    // As the parameter editor changes an entry.
    QVERIFY(form.LaunchPath.replace(0, 0, TRec{u"/usr/bin/env"_s, u"-i"_s, u"Clean env"_s}));
    QCOMPARE(name(first), u"Clean env"_s);
    QCOMPARE(description(first), u"/usr/bin/env -i"_s);

    // A group switch reuses the widgets for other entries.
    form.MenuClick(1);
    QCOMPARE(BarProbe::LaunchBtn(form).size(), 1);
    QCOMPARE(name(BarProbe::LaunchBtn(form)[0]), u"Terminal"_s);
    QCOMPARE(description(BarProbe::LaunchBtn(form)[0]), u"/bin/sh"_s);
    QCOMPARE(name(BarProbe::FlowLayout1(form)), form.groupName(1));
}

void TestAccessibility::barAndDialogsNamed()
{
    TForm1 form(home());
    form.show();
    QCOMPARE(name(&form), u"Quillbrook ランチャー"_s);
    QCOMPARE(name(BarProbe::DropTarget1(form)), u"Drop領域"_s);
    QVERIFY(!description(BarProbe::DropTarget1(form)).isEmpty());
    QCOMPARE(name(BarProbe::FlowLayout1(form)), form.groupName(0));
    QCOMPARE(name(BarProbe::PopupMenu1(BarProbe::menus(form))), u"ボタンのメニュー"_s);
    QCOMPARE(name(BarProbe::PopupMenu2(BarProbe::menus(form))), u"ランチャーのメニュー"_s);
    // A menu item says its text.
    QAccessibleInterface *menu = accessible(BarProbe::PopupMenu2(BarProbe::menus(form)));
    QStringList items;
    for (int i = 0; i < menu->childCount(); ++i)
        items.append(menu->child(i)->text(QAccessible::Name));
    QVERIFY2(items.contains(u"設定"_s), qPrintable(items.join(u", "_s)));

    // Every control of both dialogs that has no text of its own is named.
    TForm2 settings(&form);
    TForm3 editor(&form);
    editor.show();
    const QList<QWidget *> controls = settings.findChildren<QWidget *>() + editor.findChildren<QWidget *>();
    int checked = 0;
    for (QWidget *control : controls) {
        if (!qobject_cast<QAbstractSpinBox *>(control) && !qobject_cast<QComboBox *>(control)
            && !qobject_cast<QLineEdit *>(control) && !qobject_cast<QPushButton *>(control))
            continue;
        // The line edit inside a spin box or combo box belongs to it.
        if (qobject_cast<QLineEdit *>(control)
            && (qobject_cast<QAbstractSpinBox *>(control->parentWidget())
                || qobject_cast<QComboBox *>(control->parentWidget())))
            continue;
        ++checked;
        QVERIFY2(!name(control).isEmpty(), qPrintable(control->objectName()));
    }
    QVERIFY(checked > 20);
    QCOMPARE(name(settings.findChild<QWidget *>(u"OpaSpin"_s)), u"透明度"_s);
    QCOMPARE(name(settings.findChild<QWidget *>(u"IconWidth"_s)), u"アイコン大きさ"_s);
    QCOMPARE(name(settings.findChild<QWidget *>(u"Edit3"_s)), u"No.3"_s);
    QCOMPARE(name(settings.findChild<QWidget *>(u"BackColor0"_s)), u"背景色"_s);
    QCOMPARE(name(editor.findChild<QWidget *>(u"HintEdit"_s)), u"Hint"_s);
    QCOMPARE(name(editor.findChild<QWidget *>(u"ParamEdit"_s)), u"アプリに渡すファイルを指定"_s);
}

// Entries far out of sight have no button until they come into it: the
// keyboard still reaches each one, named, and brings it into sight.
void TestAccessibility::keyboardReachesEveryEntry()
{
    QStringList lines;
    for (int i = 0; i < 150; ++i)
        lines.append(u"/bin/sh,,Entry %1"_s.arg(i));
    writeGroup(0, lines);
    TForm1 form(home());
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QVERIFY(std::count(BarProbe::LaunchBtn(form).cbegin(), BarProbe::LaunchBtn(form).cend(), nullptr) > 0);
    QTest::keyClick(form.focusWidget(), Qt::Key_Home);
    for (int i = 0; i < lines.size(); ++i) {
        QWidget *focused = form.focusWidget();
        QVERIFY(focused);
        QCOMPARE(name(focused), u"Entry %1"_s.arg(i));
        if (i % 50 == 49) {
            QTRY_VERIFY(settled(form));
            QVERIFY(BarProbe::FlowLayout1(form)->rect().contains(focused->geometry()));
        }
        QTest::keyClick(focused, Qt::Key_Right);
    }
    QCOMPARE(name(form.focusWidget()), u"Entry 149"_s);
}

QTEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"
