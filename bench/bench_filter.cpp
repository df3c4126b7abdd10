// SPDX-License-Identifier: MIT
// Typing to filter, in-process: from a key press to the end of the window's
// repaint that shows the matches. Five groups of N mixed entries; each round
// types "c", "1", "2", "3" (the hints are the prefix and a number, so each
// key narrows the matches) and Escape. The first key of the first round
// reads the four other groups and prepares every entry's texts (cold); the
// later rounds are warm.
//
//   bench_filter [--entries N] [--rounds K]
//
// Prints the figures, then one RESULT line of JSON. Uses the display in
// DISPLAY (real painting on X), else the offscreen platform.
#include "app/Unit1.h"
#include "bench/Figures.h"
#include "bench/MixedEntries.h"
#include "bench/PaintClock.h"
#include "tests/BarProbe.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>

int main(int argc, char *argv[])
{
    Figures::choosePlatform();
    QApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addOption(
        {QStringLiteral("entries"), QStringLiteral("Entries per group."), QStringLiteral("N"), QStringLiteral("1000")});
    parser.addOption(
        {QStringLiteral("rounds"), QStringLiteral("Rounds of typing."), QStringLiteral("K"), QStringLiteral("21")});
    parser.addHelpOption();
    parser.process(app);
    const int entries = parser.value(QStringLiteral("entries")).toInt();
    const int rounds = std::max(2, parser.value(QStringLiteral("rounds")).toInt());

    QTemporaryDir tmp;
    const QString home = tmp.path() + QLatin1String("/home");
    QList<QStringList> groups;
    for (const char *prefix : {"a", "b", "c", "d", "e"})
        groups.append(MixedEntries::make(tmp.path() + QLatin1String("/files"), QString::fromLatin1(prefix), entries));
    MixedEntries::writeHome(home, QString(), groups);

    TForm1 form(home + QLatin1Char('/'));
    PaintClock clock(&form);
    form.show();
    if (!QTest::qWaitFor([&] { return clock.paints() > 0 && form.currentGroup().size() == entries; }, 20000)) {
        std::fprintf(stderr, "the bar never showed its first group\n");
        return 1;
    }
    form.activateWindow();
    // Keys are sent to the focused widget whether or not the window manager
    // made the bar active.
    (void)QTest::qWaitForWindowActive(&form, 2000);
    QTest::qWait(300);

    TypeFilter &filter = *BarProbe::typeFilter(form);
    // Where the key goes: the focused widget of the bar, as the window
    // system would send it.
    auto target = [&]() -> QWidget * {
        QWidget *focus = QApplication::focusWidget();
        if (focus && focus->window() == &form)
            return focus;
        return BarProbe::LaunchBtn(form).isEmpty() ? static_cast<QWidget *>(&form) : BarProbe::LaunchBtn(form).last();
    };
    // Presses the key and waits for the repaint it causes.
    auto press = [&](Qt::Key key, char text) -> double {
        const int paintsBefore = clock.paints();
        const qint64 pressed = Figures::monotonicNs();
        if (text)
            QTest::keyClick(target(), text);
        else
            QTest::keyClick(target(), key);
        if (!QTest::qWaitFor([&] { return clock.paints() > paintsBefore; }, 5000))
            return -1;
        return Figures::ms(clock.lastPaintNs() - pressed);
    };

    struct Key {
        Qt::Key key;
        char text;
    };
    const Key typed[] = {{Qt::Key_C, 'c'}, {Qt::Key_1, '1'}, {Qt::Key_2, '2'}, {Qt::Key_3, '3'}};
    double coldMs = 0;
    std::vector<double> warm, firstKey, escape;
    qsizetype matchesAfterC = 0, matchesAfter123 = 0;
    for (int round = 0; round < rounds; ++round) {
        for (size_t k = 0; k < std::size(typed); ++k) {
            const double t = press(typed[k].key, typed[k].text);
            if (t < 0 || !filter.isActive()) {
                std::fprintf(stderr, "key %zu of round %d did not filter\n", k, round + 1);
                return 1;
            }
            if (k == 0)
                matchesAfterC = filter.view()->matches().size();
            matchesAfter123 = filter.view()->matches().size();
            if (round == 0 && k == 0)
                coldMs = t;
            else if (round > 0)
                (k == 0 ? firstKey : warm).push_back(t);
            QTest::qWait(20);
        }
        const double t = press(Qt::Key_Escape, 0);
        if (t < 0 || filter.isActive()) {
            std::fprintf(stderr, "Escape of round %d did not end the filter\n", round + 1);
            return 1;
        }
        if (round > 0)
            escape.push_back(t);
        QTest::qWait(20);
    }
    std::vector<double> all = warm;
    all.insert(all.end(), firstKey.begin(), firstKey.end());

    std::printf("filter, 5 groups of %d entries (%s)\n", entries, qPrintable(QGuiApplication::platformName()));
    std::printf("  cold first key (reads 4 groups)  %8.2f ms\n", coldMs);
    std::printf("  warm first key (%lld matches)     %8.2f ms (median, max %.2f)\n", qlonglong(matchesAfterC),
                Figures::median(firstKey), Figures::maximum(firstKey));
    std::printf("  warm narrowing key                %8.2f ms (median, max %.2f; %lld matches at the end)\n",
                Figures::median(warm), Figures::maximum(warm), qlonglong(matchesAfter123));
    std::printf("  warm, every key                   %8.2f ms (median, max %.2f)\n", Figures::median(all),
                Figures::maximum(all));
    std::printf("  Escape to the group painted       %8.2f ms (median)\n", Figures::median(escape));
    Figures::printResult({
        {QStringLiteral("entries"), entries},
        {QStringLiteral("platform"), QGuiApplication::platformName()},
        {QStringLiteral("cold_ms"), coldMs},
        {QStringLiteral("warm_first_key_ms"), Figures::median(firstKey)},
        {QStringLiteral("warm_key_ms"), Figures::median(all)},
        {QStringLiteral("warm_key_max_ms"), Figures::maximum(all)},
        {QStringLiteral("escape_ms"), Figures::median(escape)},
    });
    return 0;
}
