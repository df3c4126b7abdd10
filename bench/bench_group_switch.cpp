// SPDX-License-Identifier: MIT
// Group switch, in-process: from the F1/F2 key press to the end of the
// window's repaint that shows the new group's buttons with their icons.
// The first switch loads a group never shown (cold); later ones go back and
// forth between groups already shown (warm).
//
//   bench_group_switch [--entries N] [--switches K]
//
// Prints the figures, then one RESULT line of JSON for run_bench.py. Uses
// the display in DISPLAY (real painting on X), else the offscreen platform.
#include "app/RowScroller.h"
#include "app/Unit1.h"
#include "bench/Figures.h"
#include "bench/MixedEntries.h"
#include "bench/PaintClock.h"
#include "launcher/IconLayer.h"
#include "launcher/LaunchButton.h"
#include "tests/BarProbe.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QEventLoop>
#include <QJsonArray>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>

#include <cstdio>

namespace {

struct Switch {
    int group = 0;
    double handlerMs = 0;
    double paintedMs = 0;
};

// The group is on screen: all its entries are loaded and every button in
// the visible part of the bar has its icon (rows beyond have no buttons).
bool groupShown(const TForm1 &form, int group, int entries)
{
    if (form.MenuIndex() != group || form.LaunchPath[group]->size() != entries)
        return false;
    const QRect visible = BarProbe::FlowLayout1(form)->rect();
    for (const LaunchButton *button : BarProbe::LaunchBtn(form)) {
        if (button && button->geometry().intersects(visible) && (!button->isVisible() || button->iconPixmap().isNull()))
            return false;
    }
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    Figures::choosePlatform();
    QApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addOption(
        {QStringLiteral("entries"), QStringLiteral("Entries per group."), QStringLiteral("N"), QStringLiteral("100")});
    parser.addOption(
        {QStringLiteral("switches"), QStringLiteral("Switches to make."), QStringLiteral("K"), QStringLiteral("21")});
    parser.addHelpOption();
    parser.process(app);
    const int entries = parser.value(QStringLiteral("entries")).toInt();
    const int switches = std::max(2, parser.value(QStringLiteral("switches")).toInt());

    QTemporaryDir tmp;
    const QString home = tmp.path() + QLatin1String("/home");
    MixedEntries::writeHome(home, QString(),
                            {MixedEntries::make(tmp.path() + QLatin1String("/files"), QStringLiteral("a"), entries),
                             MixedEntries::make(tmp.path() + QLatin1String("/files"), QStringLiteral("b"), entries)});

    const qint64 created = Figures::monotonicNs();
    TForm1 form(home + QLatin1Char('/'));
    PaintClock clock(&form);
    form.show();
    if (!QTest::qWaitFor([&] { return groupShown(form, 0, entries) && clock.paints() > 0; }, 20000)) {
        std::fprintf(stderr, "the bar never showed its first group\n");
        return 1;
    }
    const double firstPaintMs = Figures::ms(clock.lastPaintNs() - created);
    form.activateWindow();
    const bool active = QTest::qWaitForWindowActive(&form, 2000);
    QTest::qWait(300);

    // F1/F2 act as shortcuts of the active window; without one the group
    // items are triggered as the shortcut would.
    bool viaKeys = active;
    std::vector<Switch> done;
    int target = 0;
    qint64 pressed = 0;
    double handlerMs = 0;
    bool waiting = false;
    // A loop of our own: the application's would count as closing down once
    // it returned, and a closing application no longer repaints.
    QEventLoop loop;
    QTimer next;
    next.setSingleShot(true);
    next.setInterval(100);
    QTimer watchdog;
    watchdog.setSingleShot(true);
    watchdog.setInterval(20000);

    auto finishIfShown = [&](qint64 paintNs) {
        if (!waiting || !groupShown(form, target, entries))
            return;
        waiting = false;
        watchdog.stop();
        done.push_back({target, handlerMs, Figures::ms(paintNs - pressed)});
        if (int(done.size()) < switches)
            next.start();
        else
            loop.quit();
    };
    QObject::connect(&clock, &PaintClock::painted, &app, finishIfShown);
    QObject::connect(&next, &QTimer::timeout, &app, [&] {
        target = done.size() % 2 == 0 ? 1 : 0;
        waiting = true;
        watchdog.start();
        pressed = Figures::monotonicNs();
        const int paintsBefore = clock.paints();
        if (viaKeys)
            QTest::keyClick(&form, target == 1 ? Qt::Key_F2 : Qt::Key_F1);
        if (form.MenuIndex() != target) {
            viaKeys = false;
            BarProbe::groupItem(BarProbe::menus(form), target)->trigger();
        }
        handlerMs = Figures::ms(Figures::monotonicNs() - pressed);
        // A handler that repainted by itself leaves no update to wait for.
        if (clock.paints() > paintsBefore)
            QTimer::singleShot(0, &app, [&] { finishIfShown(clock.lastPaintNs()); });
    });
    QObject::connect(&watchdog, &QTimer::timeout, &app, [&] {
        std::fprintf(stderr, "switch %zu never finished painting\n", done.size() + 1);
        loop.exit(1);
    });
    next.start();
    if (loop.exec() != 0)
        return 1;

    // Wheel notches over the group shown, ten down and ten back: from the
    // notch to the first frame painted, and the longest frame of a glide
    // (from the rows moving to the frame painted).
    std::vector<double> notchMs, frameMs;
    IconLayer *layer = BarProbe::FlowLayout1(form);
    const bool scrolls = layer->slotCount() > 0 && layer->slotRect(layer->slotCount() - 1).bottom() >= layer->height();
    qint64 moved = 0;
    QObject::connect(layer, &IconLayer::sightChanged, &app, [&] {
        if (!moved)
            moved = Figures::monotonicNs();
    });
    QObject::connect(&clock, &PaintClock::painted, &app, [&](qint64 ns) {
        if (moved)
            frameMs.push_back(Figures::ms(ns - moved));
        moved = 0;
    });
    for (int i = 0; scrolls && i < 20; ++i) {
        const QPointF at = QRectF(layer->rect()).center();
        QWheelEvent wheel(at, layer->mapToGlobal(at), QPoint(), QPoint(0, i < 10 ? -120 : 120), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        const int paintsBefore = clock.paints();
        const qint64 sent = Figures::monotonicNs();
        QApplication::sendEvent(layer, &wheel);
        QTest::qWaitFor([&] { return clock.paints() > paintsBefore; }, 2000);
        notchMs.push_back(Figures::ms(clock.lastPaintNs() - sent));
        QTest::qWait(RowScroller::kGlideMsecs + 60);
    }

    // Where a warm switch's time goes, measured piece by piece.
    std::vector<double> iniMs, repaintMs;
    for (int i = 0; i < 10; ++i) {
        qint64 t = Figures::monotonicNs();
        form.WriteIniFile();
        iniMs.push_back(Figures::ms(Figures::monotonicNs() - t));
        t = Figures::monotonicNs();
        form.repaint();
        PaintClock::syncDisplay();
        repaintMs.push_back(Figures::ms(Figures::monotonicNs() - t));
    }

    std::vector<double> warmPainted, warmHandler;
    for (size_t i = 1; i < done.size(); ++i) {
        warmPainted.push_back(done[i].paintedMs);
        warmHandler.push_back(done[i].handlerMs);
    }
    const Switch &cold = done.front();
    std::printf("group switch, %d entries per group (%s, %s)\n", entries, qPrintable(QGuiApplication::platformName()),
                viaKeys ? "F1/F2 keys" : "group items triggered");
    std::printf("  start to first paint   %8.2f ms\n", firstPaintMs);
    std::printf("  cold: handler %8.2f ms, to painted %8.2f ms\n", cold.handlerMs, cold.paintedMs);
    std::printf("  warm: handler %8.2f ms, to painted %8.2f ms (median of %zu, max %.2f)\n",
                Figures::median(warmHandler), Figures::median(warmPainted), warmPainted.size(),
                Figures::maximum(warmPainted));
    if (scrolls)
        std::printf("  wheel notch: to first frame %8.2f ms (median of %zu), longest glide frame %.2f ms\n",
                    Figures::median(notchMs), notchMs.size(), Figures::maximum(frameMs));
    std::printf("  of which: settings file write %.2f ms, full window repaint %.2f ms (medians)\n",
                Figures::median(iniMs), Figures::median(repaintMs));

    QJsonArray all;
    for (const Switch &s : done)
        all.append(QJsonObject{{QStringLiteral("to"), s.group},
                               {QStringLiteral("handler_ms"), s.handlerMs},
                               {QStringLiteral("painted_ms"), s.paintedMs}});
    Figures::printResult({
        {QStringLiteral("entries"), entries},
        {QStringLiteral("platform"), QGuiApplication::platformName()},
        {QStringLiteral("keys"), viaKeys},
        {QStringLiteral("first_paint_ms"), firstPaintMs},
        {QStringLiteral("cold_handler_ms"), cold.handlerMs},
        {QStringLiteral("cold_painted_ms"), cold.paintedMs},
        {QStringLiteral("warm_handler_ms"), Figures::median(warmHandler)},
        {QStringLiteral("warm_painted_ms"), Figures::median(warmPainted)},
        {QStringLiteral("warm_painted_max_ms"), Figures::maximum(warmPainted)},
        {QStringLiteral("ini_write_ms"), Figures::median(iniMs)},
        {QStringLiteral("repaint_ms"), Figures::median(repaintMs)},
        {QStringLiteral("switches"), all},
        {QStringLiteral("notch_ms"), scrolls ? Figures::median(notchMs) : -1.0},
        {QStringLiteral("notch_frame_max_ms"), scrolls ? Figures::maximum(frameMs) : -1.0},
    });
    return 0;
}
