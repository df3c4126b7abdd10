// SPDX-License-Identifier: MIT
// Summoning, in-process on a real X server: from the summoning key's press,
// sent through XTEST while another window covers the bar and has the focus,
// until the bar is on top, its first button has the keyboard focus and the
// window's last repaint has reached the X server. The covering window then
// takes the focus back for the next round.
//
//   bench_summon [--entries N] [--rounds K] [--stealth]
//
// Prints the figures, then one RESULT line of JSON for run_bench.py. Needs
// DISPLAY and a window manager (the bench desktop's openbox).
#include "app/Unit1.h"
#include "bench/Figures.h"
#include "bench/MixedEntries.h"
#include "launcher/LaunchButton.h"
#include "platform/X11Activation.h"
#include "platform/X11Keymap.h"
#include "tests/BarProbe.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QJsonArray>
#include <QTemporaryDir>
#include <QTest>
#include <QWindow>

#include <cstdio>
#include <xcb/xcb.h>
#include <xcb/xtest.h>

namespace {

// Notes when each repaint of the bar has reached the X server: the ones
// the window handles itself (an update request) and the ones an expose
// asks for (uncovered by the raise).
class RepaintClock : public QObject
{
public:
    RepaintClock(QWidget *widget, QWindow *window)
    {
        widget->installEventFilter(this);
        window->installEventFilter(this);
    }
    qint64 lastNs = 0;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        const QEvent::Type type = event->type();
        if ((type != QEvent::UpdateRequest && type != QEvent::Expose) || m_inside)
            return false;
        m_inside = true;
        QCoreApplication::sendEvent(watched, event);
        m_inside = false;
        auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
        xcb_connection_t *c = x11->connection();
        std::free(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr));
        lastNs = Figures::monotonicNs();
        return true;
    }

private:
    bool m_inside = false;
};

void fakeKeys(const std::vector<uint8_t> &keycodes, bool press)
{
    auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t *c = x11->connection();
    for (const uint8_t keycode : keycodes)
        xcb_test_fake_input(c, press ? XCB_KEY_PRESS : XCB_KEY_RELEASE, keycode, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
    xcb_flush(c);
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addOption({QStringLiteral("entries"), QStringLiteral("Entries in the group."), QStringLiteral("N"),
                      QStringLiteral("100")});
    parser.addOption(
        {QStringLiteral("rounds"), QStringLiteral("Summons to time."), QStringLiteral("K"), QStringLiteral("21")});
    parser.addOption({QStringLiteral("stealth"), QStringLiteral("Stealth mode on: the summon un-fades the buttons.")});
    parser.addHelpOption();
    parser.process(app);
    const int entries = parser.value(QStringLiteral("entries")).toInt();
    const int rounds = std::max(1, parser.value(QStringLiteral("rounds")).toInt());
    const bool stealth = parser.isSet(QStringLiteral("stealth"));

    QTemporaryDir tmp;
    const QString home = tmp.path() + QLatin1String("/home");
    MixedEntries::writeHome(home, stealth ? QStringLiteral("[Mode]\nStealth=1\n") : QString(),
                            {MixedEntries::make(tmp.path() + QLatin1String("/files"), QStringLiteral("a"), entries)});
    TForm1 form(home + QLatin1Char('/'));
    form.show();
    if (!QTest::qWaitFor([&] { return form.summonKeyTaken(); }, 10000)) {
        std::fprintf(stderr, "the summoning key was not taken (another program holds it, or no X11)\n");
        return 1;
    }
    RepaintClock clock(&form, form.windowHandle());

    // Another window over the bar, with the focus, as the user's work is.
    QWidget cover;
    cover.setWindowTitle(QStringLiteral("cover"));
    cover.setGeometry(form.geometry().adjusted(-20, -20, 20, 60));
    cover.show();
    if (!QTest::qWaitForWindowExposed(&cover))
        return 1;
    const auto coverId = quint32(cover.winId());

    const X11Keymap keymap = X11Keymap::current();
    const SummonKey key = form.settings().summonKey;
    std::vector<uint8_t> keycodes;
    if (key.key.keyboardModifiers() & Qt::ControlModifier)
        keycodes.push_back(keymap.keycodeOf(0xffe3)); // Control_L
    if (key.key.keyboardModifiers() & Qt::AltModifier)
        keycodes.push_back(keymap.keycodeOf(0xffe9)); // Alt_L
    keycodes.push_back(keymap.keyFor(key.key)->keycode);

    std::vector<double> times;
    for (int round = 0; round < rounds + 1; ++round) {
        X11Activation::activate(coverId, 0);
        if (!QTest::qWaitFor([&] { return X11Activation::activeWindow() == coverId; }, 5000)) {
            std::fprintf(stderr, "the covering window never got the focus\n");
            return 1;
        }
        QTest::qWait(150);
        const qint64 pressed = Figures::monotonicNs();
        clock.lastNs = 0;
        fakeKeys(keycodes, true);
        qint64 focused = 0;
        const auto firstButton = [&] { return BarProbe::LaunchBtn(form).value(0); };
        if (!QTest::qWaitFor(
                [&] {
                    if (!focused && form.isActiveWindow() && QApplication::focusWidget() == firstButton())
                        focused = Figures::monotonicNs();
                    return focused != 0;
                },
                5000)) {
            std::fprintf(stderr, "the bar never got the focus\n");
            return 1;
        }
        // Whatever the summon set off paints within a few event loop turns.
        QTest::qWait(200);
        fakeKeys({keycodes.rbegin(), keycodes.rend()}, false);
        const qint64 done = std::max(focused, clock.lastNs);
        if (round > 0) // the first round warms the caches up
            times.push_back(Figures::ms(done - pressed));
    }

    const double median = Figures::median(times), worst = Figures::maximum(times);
    std::printf("summon (%d entries%s): median %.1f ms, max %.1f ms over %zu rounds\n", entries,
                stealth ? ", stealth" : "", median, worst, times.size());
    QJsonArray all;
    for (const double t : times)
        all.append(t);
    Figures::printResult({{QStringLiteral("entries"), entries},
                          {QStringLiteral("stealth"), stealth},
                          {QStringLiteral("median_ms"), median},
                          {QStringLiteral("max_ms"), worst},
                          {QStringLiteral("times_ms"), all}});
    return 0;
}
