// SPDX-License-Identifier: MIT
// Typing on the bar filters every group; Enter, a click or Ctrl+1 to Ctrl+9
// open a match; Escape or an emptied filter gives the group back as it was.
// Matches beyond the plate scroll into it as the group's rows do.
// Composed input arrives as QInputMethodEvents, as ibus or fcitx send them.
#include "app/Plate.h"
#include "app/Unit1.h"
#include "launcher/IconLayer.h"
#include "launcher/LaunchButton.h"
#include "BarFixture.h"
#include "BarProbe.h"
#include "TestFiles.h"

#include <QApplication>
#include <QDir>
#include <QInputMethodEvent>
#include <QInputMethodQueryEvent>
#include <QLabel>
#include <QMutex>
#include <QTest>
#include <QWheelEvent>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

// What the bar asked the desktop to open, and where.
struct Opened {
    QMutex mutex;
    QStringList calls; // "file|params|folder"
};

} // namespace

class TestTypeFilter : public QObject, protected BarFixture
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void typingFiltersEveryGroup();
    void enterOpensAMatchOfAnotherGroup();
    void groupComesBackAsItWas_data();
    void groupComesBackAsItWas();
    void composedInput();
    void launchByPosition_data();
    void launchByPosition();
    void keysKeepTheirMeaning();
    void matchesScrollIntoView();

private:
    std::unique_ptr<TForm1> m_form;
    std::shared_ptr<Opened> m_opened;
    QString m_files;
    QList<QByteArray> m_groupBytes;

    TForm1 &form() { return *m_form; }
    TypeFilter &filter() { return *BarProbe::typeFilter(form()); }
    QString f(const QString &name) const { return m_files + u'/' + name; }
    QWidget *focus() const { return QApplication::focusWidget(); }
    void type(const QString &text) { QTest::keyClicks(focus(), text); }
    // The bar on the group files as they stand, opening through m_opened;
    // their bytes are kept to check that nothing writes them.
    bool openBar()
    {
        m_groupBytes = groupBytes();
        m_form = std::make_unique<TForm1>(home());
        form().setOpener(
            [opened = m_opened](const QString &file, const QString &params, const QString &dir, QString *) {
                QMutexLocker lock(&opened->mutex);
                opened->calls.append(file + u'|' + params + u'|' + dir);
                return true;
            });
        form().show();
        form().activateWindow();
        return QTest::qWaitForWindowActive(&form());
    }
    // The file names of the buttons the filter shows, in order.
    QStringList shown()
    {
        QStringList names;
        for (const LaunchButton *button : filter().view()->buttons())
            names.append(QFileInfo(button->filePath()).fileName());
        return names;
    }
    QStringList opened()
    {
        form().waitForLaunches();
        QMutexLocker lock(&m_opened->mutex);
        return std::exchange(m_opened->calls, {});
    }
    // The filter's button `i` lies whole within its layer, where the user
    // sees it (a row far out of sight has no button).
    bool matchInView(qsizetype i)
    {
        const LaunchButton *button = filter().view()->buttons().at(i);
        return button && button->isVisible() && button->parentWidget()->rect().contains(button->geometry());
    }
    QList<QByteArray> groupBytes() const
    {
        QList<QByteArray> bytes;
        for (int group = 0; group < kGroupCount; ++group)
            bytes.append(TestFiles::readBytes(home() + groupFileName(group)));
        return bytes;
    }
};

void TestTypeFilter::init()
{
    QVERIFY(setUp());
    m_files = home() + u"files"_s;
    QVERIFY(QDir().mkpath(m_files + u"/sub"_s));
    for (const QString &name : {u"alpha.txt"_s, u"notes-a.txt"_s, u"sub/notes-b.sh"_s, u"mynotes.txt"_s,
                                u"ノート.txt"_s, u"beta.txt"_s, u"gamma.txt"_s})
        QVERIFY(TestFiles::writeBytes(f(name), "x"));
    const auto line = [this](const QString &name, const QString &rest = {}) { return (f(name) + rest).toUtf8(); };
    // Group 0 is shown; 1 and 3 are never shown before the filter reads them.
    QVERIFY(TestFiles::writeBytes(home() + groupFileName(0), line(u"alpha.txt"_s) + '\n' + line(u"notes-a.txt"_s) + '\n'
                                                                 + line(u"beta.txt"_s) + '\n'));
    QVERIFY(TestFiles::writeBytes(home() + groupFileName(1),
                                  line(u"sub/notes-b.sh"_s, u",--fast,Build"_s) + '\n' + "not,an,entry,at,all\n"));
    QVERIFY(TestFiles::writeBytes(home() + groupFileName(3), line(u"mynotes.txt"_s) + '\n' + line(u"ノート.txt"_s)
                                                                 + '\n' + line(u"gamma.txt"_s) + '\n'));
    m_opened = std::make_shared<Opened>();
    QVERIFY(openBar());
    QCOMPARE(BarProbe::LaunchBtn(form()).size(), 3);
    QVERIFY(focus() && focus()->window() == &form());
}

void TestTypeFilter::cleanup()
{
    if (m_form)
        QCOMPARE(groupBytes(), m_groupBytes); // nothing the filter does writes a group
    m_form.reset();
    tearDown();
}

void TestTypeFilter::typingFiltersEveryGroup()
{
    type(u"notes"_s);
    QVERIFY(filter().isActive());
    QCOMPARE(filter().text(), u"notes"_s);
    // Word starts first, the shown group's before the others; then inside.
    QCOMPARE(shown(), (QStringList{u"notes-a.txt"_s, u"notes-b.sh"_s, u"mynotes.txt"_s}));
    QVERIFY(!BarProbe::FlowLayout1(form())->isVisible());
    QVERIFY(filter().view()->textLabel()->isVisible());
    QVERIFY(filter().view()->textLabel()->text().contains(u"notes"_s));
    QCOMPARE(filter().view()->textLabel()->accessibleName(), u"絞り込み"_s);
    QCOMPARE(focus(), filter().view()->buttons().first());

    // Backspace edits; letters with gaps still match.
    QTest::keyClick(focus(), Qt::Key_Backspace);
    QTest::keyClick(focus(), Qt::Key_Backspace);
    type(u"s"_s);
    QCOMPARE(filter().text(), u"nots"_s);
    QCOMPARE(shown(), (QStringList{u"notes-a.txt"_s, u"notes-b.sh"_s, u"mynotes.txt"_s}));
    type(u"zz"_s);
    QCOMPARE(shown(), QStringList{});
    QVERIFY(filter().isActive());
    // Typing goes on with no match shown.
    QTest::keyClick(focus(), Qt::Key_Backspace);
    QCOMPARE(filter().text(), u"notsz"_s);
    QCOMPARE(form().MenuIndex(), 0);
    QVERIFY(!form().isRegistrationAreaShown());
}

void TestTypeFilter::enterOpensAMatchOfAnotherGroup()
{
    type(u"notes"_s);
    QTest::keyClick(focus(), Qt::Key_Right);
    QCOMPARE(focus(), filter().view()->buttons().at(1));
    QTest::keyClick(focus(), Qt::Key_Return);
    // With its own parameters, in its own folder, from group 1.
    QCOMPARE(opened(), QStringList{f(u"sub/notes-b.sh"_s) + u"|--fast|"_s + m_files + u"/sub"_s});
    QVERIFY(!filter().isActive());
    QCOMPARE(form().MenuIndex(), 0);
    QVERIFY(BarProbe::FlowLayout1(form())->isVisible());

    // A click opens a match as well.
    type(u"gam"_s);
    QTest::mouseClick(filter().view()->buttons().first(), Qt::LeftButton);
    QCOMPARE(opened(), QStringList{f(u"gamma.txt"_s) + u"||"_s + m_files});
}

void TestTypeFilter::groupComesBackAsItWas_data()
{
    QTest::addColumn<bool>("escape");
    QTest::newRow("Escape") << true;
    QTest::newRow("filter emptied") << false;
}

void TestTypeFilter::groupComesBackAsItWas()
{
    QFETCH(bool, escape);
    const QList<LaunchButton *> buttons = BarProbe::LaunchBtn(form());
    const QList<QWidget *> items = BarProbe::FlowLayout1(form())->items();
    QList<QRect> places = BarProbe::FlowLayout1(form())->itemRects();
    // The focus on the middle button, its ring showing.
    QTest::keyClick(focus(), Qt::Key_Home);
    QTest::keyClick(focus(), Qt::Key_Right);
    QCOMPARE(focus(), buttons.at(1));
    QVERIFY(buttons.at(1)->showsFocusRing());

    type(u"al"_s);
    QCOMPARE(shown(), QStringList{u"alpha.txt"_s});
    if (escape) {
        QTest::keyClick(focus(), Qt::Key_Escape);
    } else {
        QTest::keyClick(focus(), Qt::Key_Backspace);
        QVERIFY(filter().isActive());
        QTest::keyClick(focus(), Qt::Key_Backspace);
    }
    QVERIFY(!filter().isActive());
    QCOMPARE(BarProbe::LaunchBtn(form()), buttons);
    QCOMPARE(BarProbe::FlowLayout1(form())->items(), items);
    QCOMPARE(BarProbe::FlowLayout1(form())->itemRects(), places);
    QVERIFY(BarProbe::FlowLayout1(form())->isVisible());
    QVERIFY(!filter().view()->textLabel()->isVisible());
    QCOMPARE(focus(), buttons.at(1));
    QVERIFY(buttons.at(1)->showsFocusRing());
    // And the keys are the group's again: Space opens the focused entry.
    QTest::keyClick(focus(), Qt::Key_Space);
    QCOMPARE(opened(), QStringList{f(u"notes-a.txt"_s) + u"||"_s + m_files});
}

void TestTypeFilter::composedInput()
{
    // The bar takes input-method text and tells the method where it goes.
    QInputMethodQueryEvent query(Qt::ImEnabled | Qt::ImCursorRectangle);
    QApplication::sendEvent(focus(), &query);
    QVERIFY(query.value(Qt::ImEnabled).toBool());
    QVERIFY(query.value(Qt::ImCursorRectangle).toRect().isValid());

    // Composing: hiragana as typed, before it is committed.
    QInputMethodEvent preedit(u"のー"_s, {});
    QApplication::sendEvent(focus(), &preedit);
    QVERIFY(filter().isActive());
    QCOMPARE(shown(), QStringList{u"ノート.txt"_s});
    QVERIFY(filter().view()->textLabel()->text().contains(u"<u>のー</u>"_s));

    QInputMethodEvent commit;
    commit.setCommitString(u"ノート"_s);
    QApplication::sendEvent(focus(), &commit);
    QCOMPARE(filter().text(), u"ノート"_s);
    QCOMPARE(shown(), QStringList{u"ノート.txt"_s});
    // The candidate window opens at the text, now on the plate.
    QInputMethodQueryEvent again(Qt::ImCursorRectangle);
    QApplication::sendEvent(focus(), &again);
    const QRect label = filter().view()->textLabel()->geometry();
    const QRect cursor = again.value(Qt::ImCursorRectangle).toRect().translated(focus()->mapTo(&form(), QPoint()));
    QVERIFY2(label.adjusted(-1, -1, 1, 1).contains(cursor), qPrintable(u"%1,%2"_s.arg(cursor.x()).arg(cursor.y())));

    // A full-width space committed alone starts nothing: it presses the
    // focused button, as the space bar does with no input method.
    QTest::keyClick(focus(), Qt::Key_Escape);
    QInputMethodEvent space;
    space.setCommitString(u"　"_s);
    QApplication::sendEvent(focus(), &space);
    QVERIFY(!filter().isActive());
    QCOMPARE(opened(), QStringList{f(u"beta.txt"_s) + u"||"_s + m_files});

    // A composition given up empties the filter.
    QInputMethodEvent start(u"x"_s, {});
    QApplication::sendEvent(focus(), &start);
    QTest::keyClick(focus(), Qt::Key_Escape);
    QVERIFY(!filter().isActive());
    QInputMethodEvent alone(u"zz"_s, {});
    QApplication::sendEvent(focus(), &alone);
    QVERIFY(filter().isActive());
    QInputMethodEvent cancelled(QString(), {});
    QApplication::sendEvent(focus(), &cancelled);
    QVERIFY(!filter().isActive());
}

void TestTypeFilter::launchByPosition_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("opens"); // "" for nothing
    QTest::newRow("shown group, first") << QString() << int(Qt::Key_1) << u"alpha.txt||"_s;
    QTest::newRow("shown group, third") << QString() << int(Qt::Key_3) << u"beta.txt||"_s;
    QTest::newRow("shown group, past the end") << QString() << int(Qt::Key_9) << QString();
    QTest::newRow("matches, second") << u"notes"_s << int(Qt::Key_2) << u"sub/notes-b.sh|--fast|/sub"_s;
    QTest::newRow("matches, past the end") << u"notes"_s << int(Qt::Key_4) << QString();
}

void TestTypeFilter::launchByPosition()
{
    QFETCH(QString, typed);
    QFETCH(int, key);
    QFETCH(QString, opens);
    type(typed);
    QTest::keyClick(focus(), Qt::Key(key), Qt::ControlModifier);
    QStringList expected;
    if (!opens.isEmpty()) {
        const QStringList parts = opens.split(u'|');
        expected.append(f(parts[0]) + u'|' + parts[1] + u'|' + m_files + parts[2]);
    }
    QCOMPARE(opened(), expected);
}

void TestTypeFilter::keysKeepTheirMeaning()
{
    // With no filter, Ctrl+N is registration mode and F2 a group switch.
    QTest::keyClick(focus(), Qt::Key_N, Qt::ControlModifier);
    QVERIFY(form().isRegistrationAreaShown());
    // Typing does not filter over registration mode.
    type(u"a"_s);
    QVERIFY(!filter().isActive());
    QTest::keyClick(focus(), Qt::Key_N, Qt::ControlModifier);
    QVERIFY(!form().isRegistrationAreaShown());
    // Leaving registration mode saved the group, as it always does.
    m_groupBytes = groupBytes();

    // While filtering, Ctrl+N does nothing; a space is part of the filter.
    type(u"no"_s);
    QTest::keyClick(focus(), Qt::Key_N, Qt::ControlModifier);
    QVERIFY(!form().isRegistrationAreaShown());
    type(u" b"_s);
    QCOMPARE(filter().text(), u"no b"_s);
    QCOMPARE(shown(), QStringList{u"notes-b.sh"_s});
    // F4 ends the filter and switches.
    QTest::keyClick(focus(), Qt::Key_F4);
    QVERIFY(!filter().isActive());
    QCOMPARE(form().MenuIndex(), 3);
    QVERIFY(BarProbe::FlowLayout1(form())->isVisible());
    QCOMPARE(BarProbe::LaunchBtn(form()).size(), 3);
}

void TestTypeFilter::matchesScrollIntoView()
{
    // Twenty entries in the shown group and twenty in group 2: the default
    // 500 x 100 bar shows one row of seven.
    m_form.reset();
    for (int group : {0, 2}) {
        QByteArray lines;
        for (int i = 0; i < 20; ++i) {
            const QString name = u"row%1-%2.txt"_s.arg(group).arg(i, 2, 10, QLatin1Char('0'));
            QVERIFY(TestFiles::writeBytes(f(name), "x"));
            lines += f(name).toUtf8() + '\n';
        }
        QVERIFY(TestFiles::writeBytes(home() + groupFileName(group), lines));
    }
    QVERIFY(openBar());
    QTRY_COMPARE(BarProbe::LaunchBtn(form()).size(), 20);
    IconLayer *groupLayer = BarProbe::FlowLayout1(form());
    const Plate *plate = BarProbe::Rectangle1(form());

    // The group scrolled to its last row.
    BarProbe::LaunchBtn(form()).first()->setFocus(Qt::TabFocusReason);
    QTest::keyClick(focus(), Qt::Key_End);
    QTRY_VERIFY(settled(form()));
    const QList<LaunchButton *> groupButtons = BarProbe::LaunchBtn(form());
    const int groupOffset = groupLayer->scrollOffset();
    const QList<QRect> groupPlaces = groupLayer->itemRects();
    QVERIFY(groupOffset > 0);
    QVERIFY(plate->rowsAbove());
    QVERIFY(!plate->rowsBelow());

    // The matches open at their first row, and the marks are theirs.
    type(u"row"_s);
    QCOMPARE(filter().view()->buttons().size(), 40);
    QVERIFY(settled(form()));
    QVERIFY(matchInView(0));
    QVERIFY(!matchInView(39));
    QVERIFY(!plate->rowsAbove());
    QVERIFY(plate->rowsBelow());

    QTest::keyClick(focus(), Qt::Key_End);
    QCOMPARE(focus(), filter().view()->buttons().last());
    QTRY_VERIFY(settled(form()));
    QVERIFY(matchInView(39));
    QVERIFY(plate->rowsAbove());
    QVERIFY(!plate->rowsBelow());
    QTest::keyClick(focus(), Qt::Key_Up);
    QTest::keyClick(focus(), Qt::Key_Up);
    QTRY_VERIFY(settled(form()));
    QCOMPARE(focus(), filter().view()->buttons().at(25));
    QVERIFY(matchInView(25));
    QVERIFY(!matchInView(39));

    // The wheel scrolls the matches, not the hidden group.
    QWidget *matchLayer = focus()->parentWidget();
    for (int i = 0; i < 5; ++i) {
        const QPointF at = QRectF(matchLayer->rect()).center();
        QWheelEvent wheel(at, matchLayer->mapToGlobal(at), QPoint(), QPoint(0, 120), Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(matchLayer, &wheel);
    }
    QTRY_VERIFY(settled(form()));
    QVERIFY(matchInView(0));
    QVERIFY(!plate->rowsAbove());
    QCOMPARE(groupLayer->scrollOffset(), groupOffset);

    // The group comes back scrolled as it was, with its own marks.
    const auto groupAsItWas = [&] {
        QVERIFY(!filter().isActive());
        QCOMPARE(BarProbe::LaunchBtn(form()), groupButtons);
        QCOMPARE(groupLayer->scrollOffset(), groupOffset);
        QTRY_VERIFY(settled(form()));
        QCOMPARE(groupLayer->scrollOffset(), groupOffset);
        QCOMPARE(groupLayer->itemRects(), groupPlaces);
        QVERIFY(plate->rowsAbove());
        QVERIFY(!plate->rowsBelow());
        QCOMPARE(focus(), BarProbe::LaunchBtn(form()).last());
    };
    QTest::keyClick(focus(), Qt::Key_Escape);
    groupAsItWas();

    // A new filter opens at the top again; Enter opens a match reached
    // beyond the first rows.
    type(u"row"_s);
    QVERIFY(matchInView(0));
    QVERIFY(!plate->rowsAbove());
    QTest::keyClick(focus(), Qt::Key_End);
    QTest::keyClick(focus(), Qt::Key_Return);
    QCOMPARE(opened(), QStringList{f(u"row2-19.txt"_s) + u"||"_s + m_files});
    groupAsItWas();
}

QTEST_MAIN(TestTypeFilter)
#include "tst_typefilter.moc"
