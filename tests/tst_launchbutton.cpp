// SPDX-License-Identifier: MIT
#include "launcher/IconLayer.h"
#include "launcher/IconLayerEffect.h"
#include "launcher/LaunchButton.h"
#include "TestPointer.h"

#include <QMouseEvent>
#include <QPainter>
#include <QSignalSpy>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

using TestPointer::enter;
using TestPointer::leave;

// Animations run 0.1 s and 0.2 s; a slow machine gets much longer.
constexpr int kSettle = 5000;

} // namespace

class TestLaunchButton : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QWidget> m_bar;
    LaunchButton *m_button = nullptr;

private Q_SLOTS:
    void init();
    void cleanup();

    void rotationRestartsOnEveryEntering();
    void fadeEndsOpaqueAfterLeavingMidway();
    void keys_data();
    void keys();
    void shadowTurnsWithButton();
    void reportsToItsHost();
};

void TestLaunchButton::shadowTurnsWithButton()
{
    // A button on a real icon layer, its shadow on, turned 45 degrees.
    IconLayer layer;
    layer.resize(200, 120);
    layer.shadowEffect()->setShadowEnabled(true);
    layer.shadowEffect()->setShadowColor(Qt::black);
    auto *button = new LaunchButton(QStringLiteral("/nowhere/b.txt"), 48, 14, 0, &layer);
    button->setHoverEffect(3, Qt::yellow);
    layer.addItem(button);
    layer.show();
    const auto alphaAt = [&layer](QPoint point) {
        QImage image(layer.size(), QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        layer.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
        return qAlpha(image.pixel(point));
    };
    // Just inside the still button's bottom-right corner, where only its
    // shadow lies once it has turned.
    const QPoint corner = button->geometry().bottomRight() + QPoint(1, 1);
    QVERIFY(alphaAt(corner) > 0);
    enter(button);
    QCOMPARE(button->rotationAngle(), 45.0);
    QCOMPARE(alphaAt(corner), 0);
    QTRY_COMPARE_WITH_TIMEOUT(button->rotationAngle(), 0.0, kSettle);
    QVERIFY(alphaAt(corner) > 0);
}

// What the button tells the bar: a click from the pointer or the keyboard,
// the pointer coming, the menu, the focus keys and a drag.
void TestLaunchButton::reportsToItsHost()
{
    struct Host : LaunchButtonHost {
        QStringList calls;
        void launchButtonClicked(LaunchButton *) override { calls << u"click"_s; }
        void launchButtonEntered(LaunchButton *) override { calls << u"enter"_s; }
        void launchButtonMenuRequested(LaunchButton *, const QPoint &) override { calls << u"menu"_s; }
        void launchButtonDragRequested(LaunchButton *, const QPoint &) override { calls << u"drag"_s; }
        bool launchButtonFocusStep(LaunchButton *, FlowStep step) override
        {
            calls << u"step %1"_s.arg(int(step));
            return step != FlowStep::Next; // as at the last entry
        }
        void launchButtonStyleChanged(LaunchButton *) override { calls << u"style"_s; }
    } host;
    auto *button = new LaunchButton(u"/nowhere/c.txt"_s, 48, 14, 4, m_bar.get(), &host);
    button->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_bar.get()));
    QTest::mouseClick(button, Qt::LeftButton);
    QTest::keyClick(button, Qt::Key_Return);
    QTest::keyClick(button, Qt::Key_Space);
    enter(button);
    QTest::keyClick(button, Qt::Key_F10, Qt::ShiftModifier);
    QTest::keyClick(button, Qt::Key_End);
    QTest::keyClick(button, Qt::Key_Tab);
    QTest::keyClick(button, Qt::Key_Backtab);
    button->setStyleSheet(u"color: red"_s);
    // Pressed and carried beyond the drag distance: picked up, not clicked.
    QTest::mousePress(button, Qt::LeftButton, {}, QPoint(5, 5));
    QMouseEvent carried(QEvent::MouseMove, QPointF(40, 40), button->mapToGlobal(QPointF(40, 40)), Qt::NoButton,
                        Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(button, &carried);
    QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(40, 40));
    QVERIFY(!button->isDown());
    // The pointer comes onto the button before it clicks it.
    QCOMPARE(host.calls, (QStringList{u"enter"_s, u"click"_s, u"click"_s, u"click"_s, u"enter"_s, u"menu"_s,
                                      u"step %1"_s.arg(int(FlowStep::Last)),
                                      // Tab past the last wraps to the first.
                                      u"step %1"_s.arg(int(FlowStep::Next)), u"step %1"_s.arg(int(FlowStep::First)),
                                      u"step %1"_s.arg(int(FlowStep::Previous)), u"style"_s, u"drag"_s}));
}

void TestLaunchButton::init()
{
    m_bar = std::make_unique<QWidget>();
    m_bar->resize(200, 100);
    m_button = new LaunchButton(QStringLiteral("/nowhere/a.txt"), 48, 14, 4, m_bar.get());
    m_bar->show();
}

void TestLaunchButton::cleanup()
{
    m_bar.reset();
    m_button = nullptr;
}

void TestLaunchButton::rotationRestartsOnEveryEntering()
{
    m_button->setHoverEffect(3, Qt::yellow);
    QCOMPARE(m_button->rotationAngle(), 0.0);

    enter(m_button);
    QCOMPARE(m_button->rotationAngle(), 45.0);
    QTest::qWait(30);
    leave(m_button);
    // Entering again, turning or not, starts over at 45 degrees.
    enter(m_button);
    QCOMPARE(m_button->rotationAngle(), 45.0);
    // Leaving does not stop the turn.
    leave(m_button);
    QTRY_COMPARE_WITH_TIMEOUT(m_button->rotationAngle(), 0.0, kSettle);

    enter(m_button);
    QCOMPARE(m_button->rotationAngle(), 45.0);
    QTRY_COMPARE_WITH_TIMEOUT(m_button->rotationAngle(), 0.0, kSettle);
}

void TestLaunchButton::fadeEndsOpaqueAfterLeavingMidway()
{
    m_button->setHoverEffect(4, Qt::yellow);
    QCOMPARE(m_button->buttonOpacity(), 1.0);

    enter(m_button);
    QCOMPARE(m_button->buttonOpacity(), 0.5);
    // Gone again before the fade has got anywhere.
    leave(m_button);
    QTRY_COMPARE_WITH_TIMEOUT(m_button->buttonOpacity(), 1.0, kSettle);
}

void TestLaunchButton::keys_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<bool>("clicked");

    QTest::newRow("Return") << int(Qt::Key_Return) << Qt::KeyboardModifiers() << true;
    QTest::newRow("keypad Enter") << int(Qt::Key_Enter) << Qt::KeyboardModifiers(Qt::KeypadModifier) << true;
    QTest::newRow("space") << int(Qt::Key_Space) << Qt::KeyboardModifiers() << true;
    QTest::newRow("Ctrl+Return") << int(Qt::Key_Return) << Qt::KeyboardModifiers(Qt::ControlModifier) << false;
    QTest::newRow("Shift+Return") << int(Qt::Key_Return) << Qt::KeyboardModifiers(Qt::ShiftModifier) << false;
    QTest::newRow("Shift+space") << int(Qt::Key_Space) << Qt::KeyboardModifiers(Qt::ShiftModifier) << false;
    QTest::newRow("Alt+space") << int(Qt::Key_Space) << Qt::KeyboardModifiers(Qt::AltModifier) << false;
    QTest::newRow("a letter") << int(Qt::Key_A) << Qt::KeyboardModifiers() << false;
}

void TestLaunchButton::keys()
{
    QFETCH(int, key);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(bool, clicked);

    QSignalSpy clicks(m_button, &QAbstractButton::clicked);
    QTest::keyClick(m_button, Qt::Key(key), modifiers);
    QCOMPARE(clicks.size(), clicked ? 1 : 0);
}

QTEST_MAIN(TestLaunchButton)
#include "tst_launchbutton.moc"
