// SPDX-License-Identifier: MIT
// The stealth timer's tick, in-process: its time and the heap allocations
// it makes, with the pointer away from the bar (buttons faded) and inside
// it, and how many repaints the ticks cause.
//
//   bench_stealth_tick [--ticks N]
//
// Prints the figures, then one RESULT line of JSON for run_bench.py.
#include "app/Unit1.h"
#include "bench/AllocationCounter.h"
#include "bench/Figures.h"
#include "bench/MixedEntries.h"
#include "bench/PaintClock.h"
#include "tests/BarProbe.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QCursor>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <cstdio>

namespace {

struct TickFigures {
    double medianUs = 0;
    double maxUs = 0;
    double allocationsPerTick = 0;
    double paintsPerTick = 0;
};

TickFigures measureTicks(TForm1 &form, PaintClock &clock, int ticks)
{
    std::vector<double> us;
    uint64_t allocations = 0;
    const int paintsBefore = clock.paints();
    for (int i = 0; i < ticks; ++i) {
        const qint64 t = Figures::monotonicNs();
        AllocationCounter::start();
        BarProbe::Timer1Timer(form);
        allocations += AllocationCounter::stop();
        us.push_back(double(Figures::monotonicNs() - t) / 1e3);
        // Whatever the tick asked to repaint is painted before the next.
        QCoreApplication::processEvents();
    }
    return {Figures::median(us), Figures::maximum(us), double(allocations) / ticks,
            double(clock.paints() - paintsBefore) / ticks};
}

} // namespace

int main(int argc, char *argv[])
{
    Figures::choosePlatform();
    QApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addOption(
        {QStringLiteral("ticks"), QStringLiteral("Ticks to time."), QStringLiteral("N"), QStringLiteral("1000")});
    parser.addHelpOption();
    parser.process(app);
    const int ticks = std::max(1, parser.value(QStringLiteral("ticks")).toInt());

    QTemporaryDir tmp;
    MixedEntries::writeHome(tmp.path() + QLatin1String("/home"), QStringLiteral("[Mode]\r\nStealth=1\r\n"),
                            {MixedEntries::make(tmp.path() + QLatin1String("/files"), QStringLiteral("a"), 100)});
    TForm1 form(tmp.path() + QLatin1String("/home/"));
    PaintClock clock(&form);
    form.show();
    if (!QTest::qWaitForWindowExposed(&form) || !BarProbe::Timer1(form)->isActive()) {
        std::fprintf(stderr, "the bar did not show in stealth mode\n");
        return 1;
    }
    // The ticks are made here, one after another, not by the timer.
    BarProbe::Timer1(form)->stop();
    QTest::qWait(300);

    QCursor::setPos(form.geometry().bottomRight() + QPoint(200, 300));
    QTest::qWait(100);
    BarProbe::Timer1Timer(form);
    QTest::qWait(800); // the fade runs out
    const TickFigures away = measureTicks(form, clock, ticks);

    QCursor::setPos(form.geometry().topLeft() + QPoint(5, 5));
    QTest::qWait(100);
    BarProbe::Timer1Timer(form);
    QTest::qWait(300);
    const TickFigures inside = measureTicks(form, clock, ticks);

    std::printf("stealth tick, %d ticks each (%s)\n", ticks, qPrintable(QGuiApplication::platformName()));
    for (const auto &[name, f] : {std::pair{"pointer away", away}, std::pair{"pointer inside", inside}})
        std::printf("  %-15s %6.1f us (max %7.1f), %.2f allocations and %.2f repaints per tick\n", name, f.medianUs,
                    f.maxUs, f.allocationsPerTick, f.paintsPerTick);

    Figures::printResult({
        {QStringLiteral("ticks"), ticks},
        {QStringLiteral("away_us"), away.medianUs},
        {QStringLiteral("away_max_us"), away.maxUs},
        {QStringLiteral("away_allocations"), away.allocationsPerTick},
        {QStringLiteral("away_paints"), away.paintsPerTick},
        {QStringLiteral("inside_us"), inside.medianUs},
        {QStringLiteral("inside_max_us"), inside.maxUs},
        {QStringLiteral("inside_allocations"), inside.allocationsPerTick},
        {QStringLiteral("inside_paints"), inside.paintsPerTick},
    });
    return 0;
}
