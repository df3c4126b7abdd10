// SPDX-License-Identifier: MIT
// Stealth mode: each tick of the timer compares the pointer with the window
// and fades the buttons out, or brings them back at once.
#include "app/Plate.h"
#include "app/Unit1.h"
#include "launcher/IconLayer.h"
#include "BarFixture.h"
#include "BarProbe.h"
#include "TestPointer.h"

#include <QCursor>
#include <QEnterEvent>
#include <QFile>
#include <QMenu>
#include <QMouseEvent>
#include <QWindow>
#include <QPropertyAnimation>
#include <QTest>
#include <QTimer>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

// Where the tests put the window: left 100, top 200, 300 wide, 150 high.
const QRect kWindow(100, 200, 300, 150);

} // namespace

class TestStealth : public QObject, protected BarFixture
{
    Q_OBJECT

private:
    std::unique_ptr<TForm1> m_form;
    std::optional<QPoint> m_pointer;

    // Where the bar learns of the pointer: m_pointer, or its own means.
    enum class PointerSource { Test, Bar };
    // A shown bar at kWindow; `stealth` is what the settings file says.
    TForm1 &makeForm(const QByteArray &stealth, PointerSource source = PointerSource::Test);
    bool fading() const { return BarProbe::FloatAnimation1(*m_form)->state() == QAbstractAnimation::Running; }

private Q_SLOTS:
    void init();
    void cleanup();

    void timerFollowsSetting_data();
    void timerFollowsSetting();
    void tick_data();
    void tick();
    void fadeStartsOnlyFromNearlyOpaque_data();
    void fadeStartsOnlyFromNearlyOpaque();
    void fadeIsNotRestartedByLaterTicks();
    void returnAfterFadeShowsButtonsAtOnce();
    void unknownPointerChangesNothing_data();
    void unknownPointerChangesNothing();
    void timerDrivesTheFade();
    void tickRestsOnlyInSteadyStates();
    void popupOpenUsesRealPointer_data();
    void popupOpenUsesRealPointer();
    void pointerOverBarFromWindowReports_data();
    void pointerOverBarFromWindowReports();
    void bringToFrontUndoesTheFade_data();
    void bringToFrontUndoesTheFade();
};

void TestStealth::init()
{
    QVERIFY(setUp());
    m_pointer = QPoint(-10000, -10000);
}

void TestStealth::cleanup()
{
    m_form.reset();
    tearDown();
}

TForm1 &TestStealth::makeForm(const QByteArray &stealth, PointerSource source)
{
    if (!stealth.isNull())
        writeIni("[Mode]\r\nStealth=" + stealth + "\r\n");
    m_form = std::make_unique<TForm1>(home());
    if (source == PointerSource::Test)
        BarProbe::setPointerPosition(*m_form, [this] { return m_pointer; });
    m_form->show();
    m_form->setGeometry(kWindow);
    return *m_form;
}

void TestStealth::timerFollowsSetting_data()
{
    QTest::addColumn<QByteArray>("stealth"); // null: no settings file
    QTest::addColumn<bool>("active");
    QTest::newRow("on") << QByteArray("1") << true;
    QTest::newRow("off") << QByteArray("0") << false;
    QTest::newRow("no settings file") << QByteArray() << false;
}

void TestStealth::timerFollowsSetting()
{
    QFETCH(QByteArray, stealth);
    QFETCH(bool, active);

    TForm1 &form = makeForm(stealth);
    QCOMPARE(form.settings().isStealth, active);
    QCOMPARE(BarProbe::Timer1(form)->isActive(), active);
    QCOMPARE(BarProbe::Timer1(form)->interval(), 500);
}

void TestStealth::tick_data()
{
    QTest::addColumn<QPoint>("pointer");
    QTest::addColumn<bool>("inside");

    QTest::newRow("middle") << QPoint(250, 275) << true;
    QTest::newRow("just inside top left") << QPoint(101, 201) << true;
    QTest::newRow("just inside bottom right") << QPoint(399, 349) << true;
    QTest::newRow("left column") << QPoint(100, 275) << false;
    QTest::newRow("top row") << QPoint(250, 200) << false;
    QTest::newRow("column left + width") << QPoint(400, 275) << false;
    QTest::newRow("row top + height") << QPoint(250, 350) << false;
    QTest::newRow("beside the window") << QPoint(99, 275) << false;
    QTest::newRow("below the window") << QPoint(250, 351) << false;
    QTest::newRow("far away") << QPoint(-5000, 9000) << false;
}

void TestStealth::tick()
{
    QFETCH(QPoint, pointer);
    QFETCH(bool, inside);

    TForm1 &form = makeForm("0");
    QCOMPARE(form.geometry(), kWindow);
    const qreal plate = BarProbe::Rectangle1(form)->opacity();
    m_pointer = pointer;
    BarProbe::Timer1Timer(form);

    QCOMPARE(fading(), !inside);
    if (inside) {
        QCOMPARE(BarProbe::FlowLayout1(form)->opacity(), 1.0);
        QVERIFY(BarProbe::FlowLayout1(form)->isVisible());
        return;
    }
    QCOMPARE(BarProbe::FloatAnimation1(form)->targetObject(), BarProbe::FlowLayout1(form));
    QCOMPARE(BarProbe::FloatAnimation1(form)->propertyName(), QByteArray("opacity"));
    QCOMPARE(BarProbe::FloatAnimation1(form)->startValue().toReal(), 1.0);
    QCOMPARE(BarProbe::FloatAnimation1(form)->endValue().toReal(), 0.0);
    QCOMPARE(BarProbe::FloatAnimation1(form)->duration(), 400);
    QCOMPARE(BarProbe::FloatAnimation1(form)->easingCurve().type(), QEasingCurve::Linear);
    // Only the buttons fade, never the plate.
    QCOMPARE(BarProbe::Rectangle1(form)->opacity(), plate);
}

void TestStealth::fadeStartsOnlyFromNearlyOpaque_data()
{
    QTest::addColumn<qreal>("opacity");
    QTest::addColumn<bool>("starts");
    QTest::newRow("opaque") << 1.0 << true;
    QTest::newRow("just above 0.95") << 0.96 << true;
    QTest::newRow("0.95") << 0.95 << false;
    QTest::newRow("half") << 0.5 << false;
    QTest::newRow("faded") << 0.0 << false;
}

void TestStealth::fadeStartsOnlyFromNearlyOpaque()
{
    QFETCH(qreal, opacity);
    QFETCH(bool, starts);

    TForm1 &form = makeForm("0");
    BarProbe::FlowLayout1(form)->setOpacity(opacity);
    BarProbe::Timer1Timer(form);
    QCOMPARE(fading(), starts);
    if (!starts)
        QCOMPARE(BarProbe::FlowLayout1(form)->opacity(), opacity);
}

void TestStealth::fadeIsNotRestartedByLaterTicks()
{
    TForm1 &form = makeForm("0");
    BarProbe::Timer1Timer(form);
    QVERIFY(fading());
    // Half way through the fade, whatever the clock says.
    BarProbe::FloatAnimation1(form)->setCurrentTime(200);
    QVERIFY(BarProbe::FlowLayout1(form)->opacity() <= 0.95);

    BarProbe::Timer1Timer(form);
    QVERIFY(fading());
    QVERIFY2(BarProbe::FloatAnimation1(form)->currentTime() >= 200, "the fade started over");
    QVERIFY(BarProbe::FlowLayout1(form)->opacity() <= 0.5);
}

void TestStealth::returnAfterFadeShowsButtonsAtOnce()
{
    TForm1 &form = makeForm("0");
    BarProbe::Timer1Timer(form);
    BarProbe::FloatAnimation1(form)->setCurrentTime(400);
    QVERIFY(!fading());
    QCOMPARE(BarProbe::FlowLayout1(form)->opacity(), 0.0);

    // Still away: stays faded, no new fade.
    BarProbe::Timer1Timer(form);
    QVERIFY(!fading());
    QCOMPARE(BarProbe::FlowLayout1(form)->opacity(), 0.0);

    m_pointer = QPoint(250, 275);
    BarProbe::Timer1Timer(form);
    QCOMPARE(BarProbe::FlowLayout1(form)->opacity(), 1.0);
    QVERIFY(BarProbe::FlowLayout1(form)->isVisible());
    QVERIFY(!fading());

    // Away again: a new departure fades again.
    m_pointer = QPoint(100, 275);
    BarProbe::Timer1Timer(form);
    QVERIFY(fading());
}

void TestStealth::unknownPointerChangesNothing_data()
{
    QTest::addColumn<qreal>("opacity");
    QTest::addColumn<bool>("noSource");
    QTest::newRow("visible, position unknown") << 1.0 << false;
    QTest::newRow("faded, position unknown") << 0.0 << false;
    QTest::newRow("visible, no pointer source") << 1.0 << true;
}

void TestStealth::unknownPointerChangesNothing()
{
    QFETCH(qreal, opacity);
    QFETCH(bool, noSource);

    TForm1 &form = makeForm("0");
    m_pointer.reset();
    if (noSource)
        BarProbe::setPointerPosition(form, nullptr);
    BarProbe::FlowLayout1(form)->setOpacity(opacity);
    BarProbe::Timer1Timer(form);
    QVERIFY(!fading());
    QCOMPARE(BarProbe::FlowLayout1(form)->opacity(), opacity);
}

void TestStealth::timerDrivesTheFade()
{
    TForm1 &form = makeForm("1");
    QVERIFY(BarProbe::Timer1(form)->isActive());
    QTRY_COMPARE_WITH_TIMEOUT(BarProbe::FlowLayout1(form)->opacity(), 0.0, 10000);
    // Faded with the pointer away: nothing can change until it comes back,
    // so the tick rests.
    QTRY_VERIFY_WITH_TIMEOUT(!BarProbe::Timer1(form)->isActive(), 10000);

    // The window system tells of the pointer crossing onto the bar.
    m_pointer = QPoint(250, 275);
    TestPointer::enter(&form);
    QVERIFY(BarProbe::Timer1(form)->isActive());
    QTRY_COMPARE_WITH_TIMEOUT(BarProbe::FlowLayout1(form)->opacity(), 1.0, 10000);
}

void TestStealth::tickRestsOnlyInSteadyStates()
{
    TForm1 &form = makeForm("1");
    // Inside with the window system agreeing: shown, nothing left to do.
    m_pointer = QPoint(250, 275);
    form.setAttribute(Qt::WA_UnderMouse, true);
    BarProbe::Timer1Timer(form);
    QCOMPARE(BarProbe::FlowLayout1(form)->opacity(), 1.0);
    QVERIFY(!BarProbe::Timer1(form)->isActive());
    // Coming in over the edge column, the window system says inside, the
    // tick outside: the buttons stay faded, and the tick goes on so the
    // pointer's move inwards is seen.
    m_pointer = QPoint(100, 275);
    BarProbe::Timer1(form)->start();
    BarProbe::Timer1Timer(form);
    QVERIFY(fading());
    BarProbe::FloatAnimation1(form)->setCurrentTime(400);
    BarProbe::Timer1Timer(form);
    QVERIFY(BarProbe::Timer1(form)->isActive());
    m_pointer = QPoint(101, 275);
    BarProbe::Timer1Timer(form);
    QCOMPARE(BarProbe::FlowLayout1(form)->opacity(), 1.0);
    // A dialog keeps the buttons shown and the tick off; crossings then
    // do not wake it.
    form.suspendStealth();
    TestPointer::enter(&form);
    QVERIFY(!BarProbe::Timer1(form)->isActive());
    form.resumeStealth();
    QVERIFY(BarProbe::Timer1(form)->isActive());
}

void TestStealth::bringToFrontUndoesTheFade_data()
{
    QTest::addColumn<int>("fadedMs"); // how far the fade has gone
    QTest::newRow("half way") << 200;
    QTest::newRow("faded out") << 400;
}

// Another start in the same folder asks for the bar while the pointer is away.
void TestStealth::bringToFrontUndoesTheFade()
{
    QFETCH(int, fadedMs);

    TForm1 &form = makeForm("0");
    BarProbe::Timer1Timer(form);
    BarProbe::FloatAnimation1(form)->setCurrentTime(fadedMs);
    QVERIFY(BarProbe::FlowLayout1(form)->opacity() < 0.95);

    form.bringToFront();
    QVERIFY(!fading());
    QCOMPARE(BarProbe::FlowLayout1(form)->opacity(), 1.0);
    QVERIFY(BarProbe::FlowLayout1(form)->isVisible());
    // A fade left running would pull the buttons down again.
    QTest::qWait(100);
    QCOMPARE(BarProbe::FlowLayout1(form)->opacity(), 1.0);
}

void TestStealth::popupOpenUsesRealPointer_data()
{
    QTest::addColumn<QPoint>("pointer");
    QTest::addColumn<bool>("inside");
    QTest::newRow("menu opened over the bar") << QPoint(250, 275) << true;
    QTest::newRow("pointer moved off the bar") << QPoint(600, 500) << false;
}

void TestStealth::popupOpenUsesRealPointer()
{
    QFETCH(QPoint, pointer);
    QFETCH(bool, inside);

    // The bar's own pointer query, not the test's: a popup's grab clears
    // "under the mouse", which must not read as the pointer having left.
    TForm1 &form = makeForm("1", PointerSource::Bar);
    QCursor::setPos(pointer);
    BarProbe::PopupMenu2(BarProbe::menus(form))->popup(QPoint(250, 275));
    QTRY_VERIFY(BarProbe::PopupMenu2(BarProbe::menus(form))->isVisible());
    QVERIFY(!form.testAttribute(Qt::WA_UnderMouse));
    BarProbe::Timer1Timer(form);
    QCOMPARE(fading(), !inside);
    BarProbe::PopupMenu2(BarProbe::menus(form))->close();
}

void TestStealth::pointerOverBarFromWindowReports_data()
{
    QTest::addColumn<QPoint>("reported"); // where the window says the pointer came in
    QTest::addColumn<bool>("moveWindow"); // the bar then moves under the resting pointer
    QTest::addColumn<bool>("inside");
    QTest::newRow("came in over the margin") << QPoint(5, 5) << false << true;
    QTest::newRow("came in on the edge column") << QPoint(0, 5) << false << false;
    QTest::newRow("moved to the far bottom corner") << QPoint(298, 148) << false << true;
    QTest::newRow("bar moved away from the pointer") << QPoint(5, 5) << true << false;
}

// While the window reports the pointer over the bar, its last report says
// where, and the tick asks the X server nothing (no round trip, no reply to
// allocate). A window that moves makes the report stale: the server decides.
void TestStealth::pointerOverBarFromWindowReports()
{
    QFETCH(QPoint, reported);
    QFETCH(bool, moveWindow);
    QFETCH(bool, inside);

    TForm1 &form = makeForm("1", PointerSource::Bar);
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    // The server's pointer is far from the bar throughout.
    QCursor::setPos(QPoint(900, 900));
    QWindow *window = form.windowHandle();
    QEnterEvent enter(QPointF(5, 5), QPointF(105, 205), QPointF(105, 205));
    QApplication::sendEvent(window, &enter);
    QMouseEvent move(QEvent::MouseMove, QPointF(reported), QPointF(reported + kWindow.topLeft()), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(window, &move);
    QVERIFY(form.testAttribute(Qt::WA_UnderMouse));
    if (moveWindow)
        form.move(kWindow.topLeft() + QPoint(300, 0));
    QTRY_COMPARE(form.geometry().topLeft(), moveWindow ? QPoint(400, 200) : kWindow.topLeft());

    BarProbe::Timer1Timer(form);
    QCOMPARE(fading(), !inside);
    QCOMPARE(BarProbe::Timer1(form)->isActive(), !inside);
}

QTEST_MAIN(TestStealth)
#include "tst_stealth.moc"
