// SPDX-License-Identifier: MIT
// The bar's menus on a plain window standing in for the bar: what each item
// is and announces, by its menu or its shortcut; the marks the bar sets;
// group names as captions; the style sheet and the corners at an opening.
#include "app/BarMenus.h"
#include "BarProbe.h"

#include <QAction>
#include <QMenu>
#include <QStandardPaths>
#include <QTest>
#include <QWidget>

#include <climits>

using namespace Qt::StringLiterals;

namespace {

struct NamedItem {
    const char *name;
    QAction *(*get)(const BarMenus &);
};

const NamedItem kItems[] = {
    {"AddMenu", &BarProbe::AddMenu},   {"DelBtn", &BarProbe::DelBtn},
    {"EditCmd", &BarProbe::EditCmd},   {"FolderCmd", &BarProbe::FolderCmd},
    {"Seting2", &BarProbe::Seting2},   {"AddMenu2", &BarProbe::AddMenu2},
    {"ReSize2", &BarProbe::ReSize2},   {"StartAtLogin", &BarProbe::StartAtLogin},
    {"SaveMenu", &BarProbe::SaveMenu}, {"CloseCmd2", &BarProbe::CloseCmd2},
};

// An item by its design name; "Menu0" to "Menu4" are the group items.
QAction *itemNamed(const BarMenus &menus, const QString &name)
{
    if (name.startsWith(u"Menu"))
        return BarProbe::groupItem(menus, name.mid(4).toInt());
    for (const NamedItem &item : kItems) {
        if (name == QLatin1String(item.name))
            return item.get(menus);
    }
    return nullptr;
}

// A menu's items by design name, "-" for a separator.
QString itemsOf(const BarMenus &menus, const QMenu *menu)
{
    QStringList names;
    for (QAction *action : menu->actions()) {
        QString name = action->isSeparator() ? u"-"_s : u"?"_s;
        if (action == BarProbe::MenuItem6(menus)->menuAction())
            name = u"MenuItem6"_s;
        for (int n = 0; n < kGroupCount; ++n) {
            if (action == BarProbe::groupItem(menus, n))
                name = u"Menu%1"_s.arg(n);
        }
        for (const NamedItem &item : kItems) {
            if (action == item.get(menus))
                name = QLatin1String(item.name);
        }
        names << name;
    }
    return names.join(u' ');
}

// The marks that are on, in a fixed order; "groups" stands for an enabled
// group submenu.
QString marksOf(const BarMenus &menus)
{
    QStringList on;
    if (BarProbe::AddMenu(menus)->isChecked())
        on << u"AddMenu"_s;
    if (BarProbe::AddMenu2(menus)->isChecked())
        on << u"AddMenu2"_s;
    if (BarProbe::ReSize2(menus)->isChecked())
        on << u"ReSize2"_s;
    if (BarProbe::MenuItem6(menus)->isEnabled())
        on << u"groups"_s;
    return on.join(u' ');
}

// A window in the bar's place, its menus, and every announcement they make.
struct MenusOnWindow {
    QWidget bar;
    BarMenus *menus = new BarMenus(&bar);
    QStringList announced;

    MenusOnWindow()
    {
        const std::pair<void (BarMenus::*)(), QString> announcements[] = {
            {&BarMenus::registrationChosen, u"registration"_s},
            {&BarMenus::deleteChosen, u"delete"_s},
            {&BarMenus::editChosen, u"edit"_s},
            {&BarMenus::folderChosen, u"folder"_s},
            {&BarMenus::settingsChosen, u"settings"_s},
            {&BarMenus::resizeChosen, u"resize"_s},
            {&BarMenus::startAtLoginChosen, u"startAtLogin"_s},
            {&BarMenus::saveChosen, u"save"_s},
            {&BarMenus::closeChosen, u"close"_s},
            {&BarMenus::barMenuAboutToShow, u"barMenuAboutToShow"_s},
        };
        for (const auto &[signal, name] : announcements)
            QObject::connect(menus, signal, &bar, [this, name = name] { announced << name; });
        QObject::connect(menus, &BarMenus::groupChosen, &bar,
                         [this](int group) { announced << u"group %1"_s.arg(group); });
    }
};

} // namespace

class TestBarMenus : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void menusAsBuilt();
    void items_data();
    void items();
    void groupCheck_data();
    void groupCheck();
    void groupCaptions_data();
    void groupCaptions();
    void registrationMarks_data();
    void registrationMarks();
    void openingStylesAndShapes_data();
    void openingStylesAndShapes();
};

void TestBarMenus::initTestCase()
{
    // Nothing here writes a file; Qt's own settings stay away from the user's.
    QStandardPaths::setTestModeEnabled(true);
    // The style sheet is a resource of the statically linked library.
    Q_INIT_RESOURCE(resources);
}

void TestBarMenus::menusAsBuilt()
{
    MenusOnWindow m;
    const BarMenus &menus = *m.menus;
    // Made at the first opening; the shortcuts act before it.
    QVERIFY(m.bar.findChildren<QMenu *>().isEmpty());
    QCOMPARE(m.bar.actions().size(), 9);
    QCOMPARE(itemsOf(menus, BarProbe::PopupMenu1(menus)), u"AddMenu DelBtn EditCmd FolderCmd"_s);
    QCOMPARE(itemsOf(menus, BarProbe::PopupMenu2(menus)),
             u"Seting2 AddMenu2 ReSize2 StartAtLogin - MenuItem6 - SaveMenu CloseCmd2"_s);
    QCOMPARE(itemsOf(menus, BarProbe::MenuItem6(menus)), u"Menu0 Menu1 Menu2 Menu3 Menu4"_s);
    QCOMPARE(BarProbe::MenuItem6(menus)->title(), u"グループ選択"_s);
    QCOMPARE(BarProbe::PopupMenu1(menus)->objectName(), u"PopupMenu1"_s);
    QCOMPARE(BarProbe::PopupMenu2(menus)->objectName(), u"PopupMenu2"_s);
    QCOMPARE(BarProbe::PopupMenu1(menus)->accessibleName(), u"ボタンのメニュー"_s);
    QCOMPARE(BarProbe::PopupMenu2(menus)->accessibleName(), u"ランチャーのメニュー"_s);
    // Popups belong to the bar's window.
    QCOMPARE(BarProbe::PopupMenu1(menus)->parentWidget(), &m.bar);
    QCOMPARE(BarProbe::PopupMenu2(menus)->parentWidget(), &m.bar);
    QCOMPARE(m.announced, QStringList());
}

void TestBarMenus::items_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QKeySequence>("keys");
    // Checkable items whose mark only the bar sets, never the trigger.
    QTest::addColumn<bool>("codeChecked");
    QTest::addColumn<QString>("announced");

    const QKeySequence none;
    QTest::newRow("AddMenu") << u"AddMenu"_s << u"新規追加"_s << none << true << u"registration"_s;
    QTest::newRow("DelBtn") << u"DelBtn"_s << u"削除"_s << none << false << u"delete"_s;
    QTest::newRow("EditCmd") << u"EditCmd"_s << u"パラメータ編集"_s << none << false << u"edit"_s;
    QTest::newRow("FolderCmd") << u"FolderCmd"_s << u"フォルダを開く"_s << none << false << u"folder"_s;
    QTest::newRow("Seting2") << u"Seting2"_s << u"設定"_s << QKeySequence(Qt::Key_F12) << false << u"settings"_s;
    QTest::newRow("AddMenu2") << u"AddMenu2"_s << u"新規登録"_s << QKeySequence(Qt::CTRL | Qt::Key_N) << true
                              << u"registration"_s;
    QTest::newRow("ReSize2") << u"ReSize2"_s << u"サイズ変更"_s << QKeySequence(Qt::CTRL | Qt::Key_R) << true
                             << u"resize"_s;
    QTest::newRow("StartAtLogin") << u"StartAtLogin"_s << u"ログイン時に起動"_s << none << true << u"startAtLogin"_s;
    const Qt::Key groupKeys[kGroupCount] = {Qt::Key_F1, Qt::Key_F2, Qt::Key_F3, Qt::Key_F4, Qt::Key_F5};
    for (int n = 0; n < kGroupCount; ++n) {
        const QString name = u"Menu%1"_s.arg(n);
        QTest::newRow(qPrintable(name)) << name << name << QKeySequence(groupKeys[n]) << false << u"group %1"_s.arg(n);
    }
    QTest::newRow("SaveMenu") << u"SaveMenu"_s << u"設定保存"_s << none << false << u"save"_s;
    QTest::newRow("CloseCmd2") << u"CloseCmd2"_s << u"終了"_s << QKeySequence(Qt::CTRL | Qt::Key_X) << false
                               << u"close"_s;
}

void TestBarMenus::items()
{
    QFETCH(QString, item);
    QFETCH(QString, text);
    QFETCH(QKeySequence, keys);
    QFETCH(bool, codeChecked);
    QFETCH(QString, announced);

    MenusOnWindow m;
    QAction *action = itemNamed(*m.menus, item);
    QVERIFY(action);
    QCOMPARE(action->text(), text);
    QCOMPARE(action->shortcut(), keys);

    // From its menu: announced once, and a mark the bar sets stays as it
    // was, whichever it was.
    for (const bool checked : {false, true}) {
        if (codeChecked)
            action->setChecked(checked);
        m.announced.clear();
        action->trigger();
        QCOMPARE(m.announced, QStringList{announced});
        if (codeChecked)
            QCOMPARE(action->isChecked(), checked);
    }

    // By its shortcut, while the bar has the focus and no menu is open.
    if (keys.isEmpty())
        return;
    m.bar.show();
    m.bar.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&m.bar));
    m.announced.clear();
    QTest::keySequence(&m.bar, keys);
    QCOMPARE(m.announced, QStringList{announced});
}

void TestBarMenus::groupCheck_data()
{
    QTest::addColumn<QList<int>>("calls"); // setGroupChecked's arguments, in order
    QTest::addColumn<int>("checked");      // -1: none

    QTest::newRow("none at first") << QList<int>{} << -1;
    QTest::newRow("one") << QList<int>{3} << 3;
    QTest::newRow("the next replaces it") << QList<int>{1, 4} << 4;
    QTest::newRow("the same again") << QList<int>{2, 2} << 2;
    QTest::newRow("numbers outside ignored") << QList<int>{2, 5, -1} << 2;
    QTest::newRow("only outside") << QList<int>{7, INT_MIN} << -1;
}

void TestBarMenus::groupCheck()
{
    QFETCH(QList<int>, calls);
    QFETCH(int, checked);

    MenusOnWindow m;
    for (const int group : std::as_const(calls))
        m.menus->setGroupChecked(group);
    for (int n = 0; n < kGroupCount; ++n)
        QCOMPARE(BarProbe::groupItem(*m.menus, n)->isChecked(), n == checked);
    // The bar checks the group it switched to: that is no new choice.
    QCOMPARE(m.announced, QStringList());
}

void TestBarMenus::groupCaptions_data()
{
    QTest::addColumn<int>("group");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption"); // what group 2's item shows

    QTest::newRow("plain") << 2 << u"Tools"_s << u"Tools"_s;
    QTest::newRow("ampersand, no mnemonic") << 2 << u"R&D && more"_s << u"R&&D &&&& more"_s;
    QTest::newRow("tab, no shortcut column") << 2 << u"a\tb&c"_s << u"a b&&c"_s;
    QTest::newRow("line breaks, one line") << 2 << u"x\ny\r\nz"_s << u"x y  z"_s;
    QTest::newRow("empty") << 2 << QString() << QString();
    QTest::newRow("group outside ignored") << 5 << u"Tools"_s << u"Menu2"_s;
    QTest::newRow("negative group ignored") << -1 << u"Tools"_s << u"Menu2"_s;
}

void TestBarMenus::groupCaptions()
{
    QFETCH(int, group);
    QFETCH(QString, name);
    QFETCH(QString, caption);

    MenusOnWindow m;
    m.menus->setGroupName(group, name);
    for (int n = 0; n < kGroupCount; ++n)
        QCOMPARE(BarProbe::groupItem(*m.menus, n)->text(), n == 2 ? caption : u"Menu%1"_s.arg(n));
}

void TestBarMenus::registrationMarks_data()
{
    // R/r: setRegistrationMarks(true/false), E: setGroupMenuEnabled(true),
    // u: uncheckAddMenu, S/s: setResizeMode(true/false), M: the menus made
    // (without it, they are made after the steps).
    QTest::addColumn<QString>("steps");
    QTest::addColumn<QString>("marks");

    QTest::newRow("at first") << QString() << u"groups"_s;
    QTest::newRow("on") << u"R"_s << u"AddMenu AddMenu2"_s;
    QTest::newRow("off keeps the group menu disabled") << u"Rr"_s << QString();
    QTest::newRow("group menu enabled after the save") << u"RrE"_s << u"groups"_s;
    QTest::newRow("dialogs' closing clears 新規追加 alone") << u"Ru"_s << u"AddMenu2"_s;
    QTest::newRow("resize mode") << u"S"_s << u"ReSize2 groups"_s;
    QTest::newRow("resize mode off") << u"Ss"_s << u"groups"_s;
    QTest::newRow("resize mode outlives the marks") << u"SRr"_s << u"ReSize2"_s;
    QTest::newRow("menus made between") << u"RMrE"_s << u"groups"_s;
    QTest::newRow("menus made first") << u"MRr"_s << QString();
}

void TestBarMenus::registrationMarks()
{
    QFETCH(QString, steps);
    QFETCH(QString, marks);

    MenusOnWindow m;
    BarMenus &menus = *m.menus;
    for (const QChar step : std::as_const(steps)) {
        switch (step.unicode()) {
        case 'R':
        case 'r':
            menus.setRegistrationMarks(step == u'R');
            break;
        case 'E':
            menus.setGroupMenuEnabled(true);
            break;
        case 'u':
            menus.uncheckAddMenu();
            break;
        case 'S':
        case 's':
            menus.setResizeMode(step == u'S');
            break;
        case 'M':
            menus.makeMenus();
            break;
        default:
            QFAIL("unknown step");
        }
    }
    QCOMPARE(marksOf(menus), marks);
    QCOMPARE(menus.isAddMenuChecked(), BarProbe::AddMenu(menus)->isChecked());
    QCOMPARE(menus.isResizeMode(), BarProbe::ReSize2(menus)->isChecked());
    QCOMPARE(m.announced, QStringList());
}

void TestBarMenus::openingStylesAndShapes_data()
{
    QTest::addColumn<bool>("before"); // a compositor runs at the opening
    QTest::addColumn<bool>("after");  // and once the menu is open
    QTest::newRow("compositor") << true << true;
    QTest::newRow("none") << false << false;
    QTest::newRow("compositor goes while open") << true << false;
    QTest::newRow("compositor comes while open") << false << true;
}

void TestBarMenus::openingStylesAndShapes()
{
    QFETCH(bool, before);
    QFETCH(bool, after);

    MenusOnWindow m;
    const BarMenus &menus = *m.menus;
    const QList<QMenu *> all{BarProbe::PopupMenu1(menus), BarProbe::PopupMenu2(menus), BarProbe::MenuItem6(menus)};
    m.bar.show();
    QVERIFY(QTest::qWaitForWindowExposed(&m.bar));
    for (QMenu *menu : all)
        QVERIFY(menu->styleSheet().isEmpty());

    m.menus->setCompositorRunning(before);
    QMenu *barMenu = BarProbe::PopupMenu2(menus);
    m.menus->popupBarMenu(m.bar.mapToGlobal(QPoint(10, 10)));
    QTRY_VERIFY(barMenu->isVisible());
    QCOMPARE(m.announced, QStringList{u"barMenuAboutToShow"_s});
    // The first opening styles every menu, the submenus included.
    for (QMenu *menu : all)
        QVERIFY(!menu->styleSheet().isEmpty());

    m.menus->setCompositorRunning(after);
    const QRegion mask = barMenu->mask();
    if (after) {
        QVERIFY(mask.isEmpty());
    } else {
        // Cut to the rounded corners, at the menu's shown size.
        QVERIFY(!mask.contains(QPoint(0, 0)));
        QVERIFY(mask.contains(barMenu->rect().center()));
        QVERIFY(!mask.contains(QPoint(barMenu->width() - 1, barMenu->height() - 1)));
        QVERIFY(mask.contains(QPoint(barMenu->width() / 2, barMenu->height() - 2)));
    }
    barMenu->close();
}

QTEST_MAIN(TestBarMenus)
#include "tst_barmenus.moc"
