// SPDX-License-Identifier: MIT
// The grid that shows an entry model as launch buttons, on a window of its
// own: a plate and an icon layer as the bar makes them, a group file in a
// temporary folder, and links that write down what the buttons ask.
#include "app/EntryGrid.h"
#include "app/Plate.h"
#include "app/RowScroller.h"
#include "core/files/FileStamp.h"
#include "core/groups/GroupModel.h"
#include "launcher/IconLayer.h"
#include "launcher/LaunchButton.h"
#include "TestFiles.h"
#include "TestPointer.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QFile>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QWheelEvent>
#include <QTest>

#include <algorithm>
#include <memory>

using namespace Qt::StringLiterals;

using Kind = EntryGrid::Kind;

namespace {

// 40-pixel buttons on a 220 x 100 layer: five to a row, and the third row
// cut by the layer's bottom edge.
EntryLook look(bool hints)
{
    EntryLook look;
    look.iconSide = 32;
    look.padding = 8;
    look.corner = 4;
    look.hints = hints;
    return look;
}

// The window the grid lives on, laid out as the bar lays out its own.
struct Bench {
    Bench(const QString &groupPath, Kind kind, bool hints = true)
        : model(groupPath)
    {
        window.resize(250, 130);
        plate = new Plate(&window);
        plate->setGeometry(window.rect());
        layer = new IconLayer(&window);
        layer->setGeometry(10, 10, 220, 100);
        // As the filter's: with no button the layer keeps the focus.
        layer->setFocusPolicy(Qt::StrongFocus);
        const auto record = [this](const QString &what, LaunchButton *button, QPoint at = {}) {
            QString call = u"%1 %2"_s.arg(what).arg(grid->rowOf(button));
            if (!at.isNull())
                call += u" (%1,%2)"_s.arg(at.x()).arg(at.y());
            calls.append(call);
        };
        EntryGrid::Links links;
        links.clicked = [record](LaunchButton *button) { record(u"clicked"_s, button); };
        links.entered = [record](LaunchButton *button) { record(u"entered"_s, button); };
        links.menuRequested = [record](LaunchButton *button, const QPoint &globalPos) {
            record(u"menu"_s, button, button->mapFromGlobal(globalPos));
        };
        links.dragRequested = [record](LaunchButton *button, const QPoint &hotSpot) {
            record(u"dragged"_s, button, hotSpot);
        };
        grid = new EntryGrid(layer, plate, kind, std::move(links), &window);
        grid->setLook(look(hints));
        grid->setModel(&model);
    }

    bool showActive()
    {
        window.show();
        window.activateWindow();
        return QTest::qWaitForWindowActive(&window);
    }

    const QList<LaunchButton *> &buttons() const { return grid->buttons(); }

    // What differs between the buttons and the rows they stand for, over
    // the first `count` rows (all by default); empty when nothing does.
    QString mismatch(qsizetype count = -1) const
    {
        const QList<LaunchButton *> &shown = buttons();
        if (count < 0) {
            count = model.rowCount();
            if (shown.size() != count)
                return u"%1 buttons for %2 rows"_s.arg(shown.size()).arg(count);
        }
        // Element by element: QList's own == hands an empty list's null data
        // to memcmp, which UndefinedBehaviorSanitizer stops at.
        const QList<QWidget *> &items = layer->items();
        if (!std::equal(items.cbegin(), items.cend(), shown.cbegin(), shown.cend()))
            return u"the layer's order is not the buttons'"_s;
        for (qsizetype i = 0; i < count; ++i) {
            const QModelIndex row = model.index(int(i));
            const LaunchButton *button = shown.at(i);
            if (!button)
                continue; // out of sight
            if (button->filePath() != row.data(GroupModel::FileRole).toString())
                return u"button %1 shows %2"_s.arg(i).arg(button->filePath());
            if (button->isFileMissing() != row.data(GroupModel::MissingRole).toBool())
                return u"button %1 is %2greyed"_s.arg(i).arg(button->isFileMissing() ? u""_s : u"not "_s);
            if (button->toolTip().startsWith(u"ファイルが見つかりません"_s) != button->isFileMissing())
                return u"button %1's tip: %2"_s.arg(i).arg(button->toolTip());
            if (button->accessibleName() != row.data().toString())
                return u"button %1 is named %2"_s.arg(i).arg(button->accessibleName());
            if (button->isHidden())
                return u"button %1 is hidden"_s.arg(i);
        }
        return {};
    }

    GroupModel model; // first: the grid, on the window, goes before it
    QWidget window;
    Plate *plate;
    IconLayer *layer;
    EntryGrid *grid;
    QStringList calls; // "clicked 2", "menu 1 (7,9)": what the links were told, and for which row
};

} // namespace

class TestEntryGrid : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void resetShowsEachRow_data();
    void resetShowsEachRow();
    void buttonsFollowRows_data();
    void buttonsFollowRows();
    void focusAfterBuild_data();
    void focusAfterBuild();
    void focusKeys_data();
    void focusKeys();
    void requestsReachLinks_data();
    void requestsReachLinks();
    void buttonsOnlyInSight_data();
    void buttonsOnlyInSight();
    void previewOverRowsMadeMeanwhile_data();
    void previewOverRowsMadeMeanwhile();
    void clearAndRowAt();

private:
    QString file(const QString &name) const { return m_dir->filePath(name + u".txt"_s); }
    QString groupPath() const { return m_dir->filePath(u"group"_s); }
    // Entry lines "name,params,hint" (the name stands for its file in the
    // folder), written as the launcher writes a group file.
    void writeGroup(const QStringList &lines)
    {
        QStringList withPaths;
        for (const QString &line : lines)
            withPaths.append(file(line.section(u',', 0, 0)) + u',' + line.section(u',', 1));
        QVERIFY(TestFiles::writeBytes(groupPath(), withPaths.join(u"\r\n"_s).toUtf8()));
    }
    void writeFiles(int count)
    {
        QStringList lines;
        for (int i = 0; i < count; ++i) {
            QVERIFY(TestFiles::writeBytes(file(u"f%1"_s.arg(i)), "x\n"));
            lines.append(u"f%1,,F%1"_s.arg(i));
        }
        writeGroup(lines);
    }
    // One change to the rows or the files, as "insert 1 n1 n2", "remove 0",
    // "move 0 3", "replace 2 lost", "stamp 1" (a new look at the file),
    // "create gone" or "delete a".
    void apply(GroupModel &model, const QString &step);

    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestEntryGrid::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    // "gone" and "lost" are never there, unless a test makes them.
    for (const QString &name : {u"a"_s, u"b"_s, u"c"_s, u"n1"_s, u"n2"_s, u"n3"_s})
        QVERIFY(TestFiles::writeBytes(file(name), "x\n"));
}

void TestEntryGrid::cleanup()
{
    m_dir.reset();
}

void TestEntryGrid::apply(GroupModel &model, const QString &step)
{
    const QStringList words = step.split(u' ');
    const QString &verb = words.at(0);
    const auto number = [&](int k) { return qsizetype(words.at(k).toInt()); };
    const auto entry = [&](int k) { return TRec{file(words.at(k)), QString(), words.at(k).toUpper()}; };
    bool done = true;
    if (verb == u"insert") {
        QList<TRec> entries;
        for (int k = 2; k < words.size(); ++k)
            entries.append(entry(k));
        done = bool(model.insert(number(1), entries));
    } else if (verb == u"remove") {
        done = bool(model.remove(number(1)));
    } else if (verb == u"move") {
        done = bool(model.move(number(1), number(2)));
    } else if (verb == u"replace") {
        done = bool(model.replace(number(1), entry(2)));
    } else if (verb == u"stamp") {
        model.setStamp(number(1), fileStamp(model.entry(number(1)).fname));
    } else if (verb == u"create") {
        done = TestFiles::writeBytes(file(words.at(1)), "x\n");
    } else if (verb == u"delete") {
        done = QFile::remove(file(words.at(1)));
    } else {
        QFAIL(qPrintable(u"unknown step "_s + step));
    }
    QVERIFY2(done, qPrintable(step));
}

// One button per row, in order, showing the row's entry; a second reset
// gives each row the widget it had, made to show the entry as it is now.
void TestEntryGrid::resetShowsEachRow_data()
{
    QTest::addColumn<bool>("hints");
    QTest::addColumn<QStringList>("tips");     // %1: the missing file
    QTest::addColumn<QString>("tipWhenThere"); // row 1's, once its file is there

    QTest::newRow("hints on") << true
                              << QStringList{u"Alpha -> -x"_s, u"ファイルが見つかりません: %1\nGone"_s, u""_s,
                                             u"Gamma -> q.txt"_s}
                              << u"Gone"_s;
    QTest::newRow("hints off") << false << QStringList{u""_s, u"ファイルが見つかりません: %1"_s, u""_s, u""_s} << u""_s;
}

void TestEntryGrid::resetShowsEachRow()
{
    QFETCH(bool, hints);
    QFETCH(QStringList, tips);
    QFETCH(QString, tipWhenThere);

    writeGroup({u"a,-x,Alpha"_s, u"gone,,Gone"_s, u"b,,"_s, u"c,/p/q.txt,Gamma"_s});
    Bench bench(groupPath(), Kind::Group, hints);
    QVERIFY(bench.buttons().isEmpty());
    bench.model.reload();

    const QString gone = file(u"gone"_s);
    const QStringList paths{file(u"a"_s), gone, file(u"b"_s), file(u"c"_s)};
    const QStringList names{u"Alpha"_s, u"Gone"_s, u"b.txt"_s, u"Gamma"_s};
    const QStringList descriptions{file(u"a"_s) + u" -x"_s, u"ファイルが見つかりません: "_s + gone, file(u"b"_s),
                                   file(u"c"_s) + u" /p/q.txt"_s};
    const QList<LaunchButton *> first = bench.buttons();
    QCOMPARE(first.size(), 4);
    for (qsizetype i = 0; i < first.size(); ++i) {
        QCOMPARE(first.at(i)->filePath(), paths.at(i));
        QCOMPARE(first.at(i)->isFileMissing(), i == 1);
        QCOMPARE(first.at(i)->toolTip(), QString(tips.at(i)).replace(u"%1"_s, gone));
        QCOMPARE(first.at(i)->accessibleName(), names.at(i));
        QCOMPARE(first.at(i)->accessibleDescription(), descriptions.at(i));
        QCOMPARE(first.at(i)->size(), QSize(40, 40));
    }
    QCOMPARE(bench.mismatch(), QString());

    QVERIFY(TestFiles::writeBytes(gone, "x\n"));
    bench.model.reload();
    QCOMPARE(bench.buttons(), first);
    QVERIFY(!first.at(1)->isFileMissing());
    QCOMPARE(first.at(1)->toolTip(), tipWhenThere);
    QCOMPARE(first.at(1)->accessibleDescription(), gone);
    QCOMPARE(bench.mismatch(), QString());
}

// After each change button i stands for row i and shows its entry.
void TestEntryGrid::buttonsFollowRows_data()
{
    QTest::addColumn<QStringList>("steps");

    QTest::newRow("inserts") << QStringList{u"insert 1 n1"_s, u"insert 0 n2 n3"_s, u"insert 7 lost"_s};
    QTest::newRow("removes") << QStringList{u"remove 1"_s, u"remove 2"_s, u"remove 0"_s, u"remove 0"_s};
    QTest::newRow("moves") << QStringList{u"move 0 3"_s, u"move 3 0"_s, u"move 1 2"_s, u"move 2 1"_s};
    QTest::newRow("replaces") << QStringList{u"replace 1 n1"_s, u"replace 0 lost"_s, u"replace 3 gone"_s};
    QTest::newRow("file back, file gone") << QStringList{u"create gone"_s, u"stamp 1"_s, u"delete a"_s, u"stamp 0"_s};
    QTest::newRow("replaced after its file went") << QStringList{u"delete a"_s, u"replace 0 a"_s};
    QTest::newRow("replaced after its file came back") << QStringList{u"create gone"_s, u"replace 1 gone"_s};
    QTest::newRow("mixed") << QStringList{u"insert 2 n1"_s, u"move 0 4"_s, u"remove 3"_s,    u"replace 0 n2"_s,
                                          u"create gone"_s, u"stamp 0"_s,  u"insert 4 n3"_s, u"move 4 0"_s};
}

void TestEntryGrid::buttonsFollowRows()
{
    QFETCH(QStringList, steps);

    writeGroup({u"a,,A"_s, u"gone,,Gone"_s, u"b,,B"_s, u"c,,C"_s});
    // Hints off: a tip then tells only of a missing file, and must go
    // when the file is back.
    Bench bench(groupPath(), Kind::Group, false);
    QVERIFY(bench.showActive());
    bench.model.reload();
    for (const QString &step : std::as_const(steps)) {
        apply(bench.model, step);
        if (QTest::currentTestFailed())
            return;
        const QString problem = bench.mismatch();
        QVERIFY2(problem.isEmpty(), qPrintable(step + u": "_s + problem));
    }
}

void TestEntryGrid::focusAfterBuild_data()
{
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<int>("rows");
    QTest::addColumn<QString>("step");
    QTest::addColumn<int>("focused"); // -1: the layer
    QTest::addColumn<bool>("ring");

    QTest::newRow("group: the last") << Kind::Group << 4 << QString() << 3 << false;
    QTest::newRow("group: the one inserted") << Kind::Group << 4 << u"insert 1 n1"_s << 1 << false;
    QTest::newRow("matches: the first, ringed") << Kind::Matches << 4 << QString() << 0 << true;
    QTest::newRow("matches: none, the layer") << Kind::Matches << 0 << QString() << -1 << false;
}

void TestEntryGrid::focusAfterBuild()
{
    QFETCH(Kind, kind);
    QFETCH(int, rows);
    QFETCH(QString, step);
    QFETCH(int, focused);
    QFETCH(bool, ring);

    writeFiles(rows);
    Bench bench(groupPath(), kind);
    QVERIFY(bench.showActive());
    // Whatever the window gave the focus to at its showing.
    if (QWidget *focus = QApplication::focusWidget())
        focus->clearFocus();
    bench.model.reload();
    if (!step.isEmpty())
        apply(bench.model, step);
    QWidget *expected = focused < 0 ? static_cast<QWidget *>(bench.layer) : bench.buttons().at(focused);
    QCOMPARE(QApplication::focusWidget(), expected);
    if (focused >= 0)
        QCOMPARE(bench.buttons().at(focused)->showsFocusRing(), ring);
}

// Twelve buttons, five to a row: the arrows, Home and End move the focus,
// and it shows its ring.
void TestEntryGrid::focusKeys_data()
{
    QTest::addColumn<int>("from");
    QTest::addColumn<Qt::Key>("key");
    QTest::addColumn<int>("to");

    QTest::newRow("right") << 0 << Qt::Key_Right << 1;
    QTest::newRow("left over the row's start") << 5 << Qt::Key_Left << 4;
    QTest::newRow("down") << 2 << Qt::Key_Down << 7;
    QTest::newRow("down to a shorter row") << 9 << Qt::Key_Down << 11;
    QTest::newRow("up") << 7 << Qt::Key_Up << 2;
    QTest::newRow("home") << 8 << Qt::Key_Home << 0;
    QTest::newRow("end") << 3 << Qt::Key_End << 11;
    QTest::newRow("left at the first") << 0 << Qt::Key_Left << 0;
    QTest::newRow("tab") << 4 << Qt::Key_Tab << 5;
    QTest::newRow("backtab") << 5 << Qt::Key_Backtab << 4;
    QTest::newRow("tab at the last wraps") << 11 << Qt::Key_Tab << 0;
    QTest::newRow("backtab at the first wraps") << 0 << Qt::Key_Backtab << 11;
}

void TestEntryGrid::focusKeys()
{
    QFETCH(int, from);
    QFETCH(Qt::Key, key);
    QFETCH(int, to);

    writeFiles(12);
    Bench bench(groupPath(), Kind::Group);
    QVERIFY(bench.showActive());
    bench.model.reload();
    // Moved after a move, as the bar's order may be.
    QVERIFY(bench.model.move(11, 0));
    QVERIFY(bench.model.move(0, 11));
    bench.buttons().at(from)->setFocus(Qt::TabFocusReason);
    QTest::keyClick(bench.buttons().at(from), key);
    QCOMPARE(QApplication::focusWidget(), bench.buttons().at(to));
    QVERIFY(bench.buttons().at(to)->showsFocusRing());
}

// Each request reaches its link with the button it came from.
void TestEntryGrid::requestsReachLinks_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("call");

    QTest::newRow("click") << u"click"_s << 2 << u"clicked 2"_s;
    QTest::newRow("Enter") << u"enter key"_s << 0 << u"clicked 0"_s;
    QTest::newRow("pointer comes") << u"hover"_s << 3 << u"entered 3"_s;
    QTest::newRow("menu, pointer") << u"menu"_s << 1 << u"menu 1 (7,9)"_s;
    QTest::newRow("menu, Shift+F10 below") << u"menu key"_s << 2 << u"menu 2 (0,40)"_s;
    QTest::newRow("drag") << u"drag"_s << 3 << u"dragged 3 (5,6)"_s;
}

void TestEntryGrid::requestsReachLinks()
{
    QFETCH(QString, action);
    QFETCH(int, row);
    QFETCH(QString, call);

    writeGroup({u"a,,A"_s, u"gone,,Gone"_s, u"b,,B"_s, u"c,,C"_s});
    Bench bench(groupPath(), Kind::Group);
    QVERIFY(bench.showActive());
    bench.model.reload();
    // Rows whose buttons moved: the link is told the row as it is now.
    QVERIFY(bench.model.move(0, 3));
    QVERIFY(bench.model.move(3, 0));
    LaunchButton *button = bench.buttons().at(row);
    if (action == u"click") {
        QTest::mouseClick(button, Qt::LeftButton);
    } else if (action == u"enter key") {
        QTest::keyClick(button, Qt::Key_Return);
    } else if (action == u"hover") {
        TestPointer::enter(button);
    } else if (action == u"menu") {
        QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(7, 9), button->mapToGlobal(QPoint(7, 9)));
        QApplication::sendEvent(button, &event);
    } else if (action == u"menu key") {
        QTest::keyClick(button, Qt::Key_F10, Qt::ShiftModifier);
    } else if (action == u"drag") {
        QTest::mousePress(button, Qt::LeftButton, {}, QPoint(5, 6));
        const QPointF far(35, 36);
        QMouseEvent carried(QEvent::MouseMove, far, button->mapToGlobal(far), Qt::NoButton, Qt::LeftButton,
                            Qt::NoModifier);
        QApplication::sendEvent(button, &carried);
        QTest::mouseRelease(button, Qt::LeftButton, {}, far.toPoint());
    }
    QVERIFY2(bench.calls.contains(call), qPrintable(bench.calls.join(u"; "_s)));
    // Nothing for another row, and a drag is not a click.
    for (const QString &made : std::as_const(bench.calls)) {
        QVERIFY2(made.section(u' ', 1, 1).toInt() == row, qPrintable(made));
        if (action == u"drag")
            QVERIFY2(!made.startsWith(u"clicked"_s), qPrintable(made));
    }
}

// Only the rows in sight and a row either side have buttons, and the one
// with the focus; they follow the rows through changes and scrolling, and
// the keyboard reaches a row out of sight.
void TestEntryGrid::buttonsOnlyInSight_data()
{
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<QString>("steps");     // "; " between
    QTest::addColumn<qsizetype>("focused"); // the row with the focus; -1 for the last

    QTest::newRow("group") << Kind::Group << QString() << qsizetype(-1);
    QTest::newRow("matches") << Kind::Matches << QString() << qsizetype(0);
    QTest::newRow("insert") << Kind::Group << u"insert 3 n1 n2"_s << qsizetype(4);
    QTest::newRow("insert beyond sight") << Kind::Group << u"insert 40 n1"_s << qsizetype(40);
    QTest::newRow("remove") << Kind::Group << u"remove 2"_s << qsizetype(-1);
    QTest::newRow("move into sight") << Kind::Group << u"move 50 1"_s << qsizetype(-1);
    QTest::newRow("replace") << Kind::Group << u"replace 0 lost"_s << qsizetype(-1);
    QTest::newRow("new look") << Kind::Group << u"create f55; stamp 55"_s << qsizetype(-1);
    QTest::newRow("wheel") << Kind::Matches << u"wheel 4"_s << qsizetype(0);
    QTest::newRow("wheel and back") << Kind::Matches << u"wheel 6; wheel -2"_s << qsizetype(0);
    QTest::newRow("End") << Kind::Matches << u"key End"_s << qsizetype(-1);
    QTest::newRow("End, Home") << Kind::Matches << u"key End; key Home"_s << qsizetype(0);
    QTest::newRow("down past sight") << Kind::Matches << u"key Down; key Down; key Down; key Down"_s << qsizetype(20);
}

void TestEntryGrid::buttonsOnlyInSight()
{
    QFETCH(Kind, kind);
    QFETCH(QString, steps);
    QFETCH(qsizetype, focused);

    writeFiles(60);
    // One file gone since the group was written: its look is a row change.
    QVERIFY(QFile::remove(file(u"f55"_s)));
    Bench bench(groupPath(), kind);
    QVERIFY(bench.showActive());
    bench.model.reload();
    // Three rows of five show, the third cut.
    QCOMPARE(bench.layer->grid().columns(), 5);
    for (const QString &step : steps.split(u"; "_s, Qt::SkipEmptyParts)) {
        const QStringList words = step.split(u' ');
        if (words.at(0) == u"wheel") {
            const QPoint middle = bench.layer->rect().center();
            QWheelEvent wheel(middle, bench.layer->mapToGlobal(middle), {}, {0, -120 * words.at(1).toInt()},
                              Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
            QApplication::sendEvent(bench.layer, &wheel);
            QTest::qWait(RowScroller::kGlideMsecs + 60);
        } else if (words.at(0) == u"key") {
            const Qt::Key key = words.at(1) == u"End"       ? Qt::Key_End
                                : words.at(1) == u"Home"    ? Qt::Key_Home
                                : words.at(1) == u"Backtab" ? Qt::Key_Backtab
                                                            : Qt::Key_Down;
            QTest::keyClick(QApplication::focusWidget(), key);
            QTest::qWait(RowScroller::kGlideMsecs + 60);
        } else {
            apply(bench.model, step);
        }
        if (QTest::currentTestFailed())
            return;
    }
    const qsizetype rows = bench.model.rowCount();
    if (focused < 0)
        focused = rows - 1;
    QCOMPARE(bench.mismatch(), QString());
    const auto [first, last] = bench.layer->slotsInSight(1);
    // At most four rows show in part, and a row either side.
    QVERIFY(first <= last && last - first + 1 <= 6 * 5);
    for (qsizetype row = 0; row < rows; ++row) {
        const bool wanted = (row >= first && row <= last) || row == focused;
        QVERIFY2(bool(bench.buttons().at(row)) == wanted, qPrintable(QString::number(row)));
    }
    QCOMPARE(QApplication::focusWidget(), bench.buttons().at(focused));
    // Whatever the keyboard reached is scrolled into sight.
    if (steps.startsWith(u"key"_s))
        QVERIFY(bench.layer->rect().contains(bench.buttons().at(focused)->geometry()));
    // Buttons gone spare are not left about.
    const QList<LaunchButton *> all = bench.layer->findChildren<LaunchButton *>();
    const qsizetype shown = std::count_if(all.cbegin(), all.cend(),
                                          [](const LaunchButton *b) { return !b->isHidden(); });
    QCOMPARE(shown,
             std::count_if(bench.buttons().cbegin(), bench.buttons().cend(), [](const LaunchButton *b) { return b; }));
}

// A carried button shown elsewhere: the rows made while the preview shows
// (the rows scrolled by a drag at the edge) stand where the preview puts
// them, and the move or its end leaves each button in its row's slot.
void TestEntryGrid::previewOverRowsMadeMeanwhile_data()
{
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::addColumn<QString>("end"); // "move", "back", or "remove" (of another row)

    QTest::newRow("down, moved") << 2 << 27 << u"move"_s;
    QTest::newRow("down, back") << 2 << 27 << u"back"_s;
    QTest::newRow("up, moved") << 28 << 3 << u"move"_s;
    QTest::newRow("down, a row removed meanwhile") << 2 << 27 << u"remove"_s;
}

void TestEntryGrid::previewOverRowsMadeMeanwhile()
{
    QFETCH(int, from);
    QFETCH(int, to);
    QFETCH(QString, end);

    writeFiles(60);
    Bench bench(groupPath(), Kind::Group);
    QVERIFY(bench.showActive());
    bench.model.reload();
    QStringList order = bench.model.lines();
    LaunchButton *carried = bench.grid->buttonFor(from);
    carried->setLifted(true);
    bench.grid->previewAt(carried, to);
    QCOMPARE(bench.grid->slotOf(carried), qsizetype(to));
    // Scrolled as a drag at the edge does: rows come into sight meanwhile.
    for (int notches : {-3, 6, -1}) {
        const QPoint middle = bench.layer->rect().center();
        QWheelEvent wheel(middle, bench.layer->mapToGlobal(middle), {}, {0, 120 * notches}, Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(bench.layer, &wheel);
        QTest::qWait(RowScroller::kGlideMsecs + 60);
        // Each slot shows the row the preview puts there.
        QStringList shown = order;
        shown.move(from, to);
        const QList<QWidget *> &items = bench.layer->items();
        for (qsizetype slot = 0; slot < items.size(); ++slot) {
            const auto *button = qobject_cast<const LaunchButton *>(items.at(slot));
            if (button)
                QVERIFY2(shown.at(slot).startsWith(button->filePath()), qPrintable(QString::number(slot)));
        }
    }
    carried->setLifted(false);
    if (end == u"move") {
        QVERIFY(bench.model.move(from, to));
        order.move(from, to);
    } else if (end == u"back") {
        bench.grid->previewAt(carried, from);
    } else {
        QVERIFY(bench.model.remove(40));
        order.removeAt(40);
    }
    QCOMPARE(bench.model.lines(), order);
    QCOMPARE(bench.mismatch(), QString());
}

void TestEntryGrid::clearAndRowAt()
{
    writeFiles(12);
    Bench bench(groupPath(), Kind::Group);
    QVERIFY(bench.showActive());
    bench.model.reload();
    const QList<LaunchButton *> buttons = bench.buttons();
    for (qsizetype i = 0; i < buttons.size(); ++i) {
        QCOMPARE(bench.grid->rowAt(buttons.at(i)->geometry().center()), i);
        QCOMPARE(bench.grid->rowAt(buttons.at(i)->geometry().topLeft()), i);
    }
    // The layer's padding, the gap between two buttons, past the last.
    QCOMPARE(bench.grid->rowAt(QPoint(1, 1)), -1);
    QCOMPARE(bench.grid->rowAt(QPoint(buttons.at(0)->geometry().right() + 1, 10)), -1);
    QCOMPARE(bench.grid->rowAt(buttons.last()->geometry().center() + QPoint(45, 0)), -1);

    QSignalSpy cleared(bench.grid, &EntryGrid::cleared);
    bench.grid->clear();
    QCOMPARE(cleared.count(), 1);
    QVERIFY(bench.buttons().isEmpty());
    QVERIFY(bench.layer->items().isEmpty());
    QCOMPARE(bench.grid->rowAt(buttons.at(0)->geometry().center()), -1);
    QCOMPARE(bench.grid->rowOf(buttons.at(0)), -1);
}

QTEST_MAIN(TestEntryGrid)
#include "tst_entrygrid.moc"
