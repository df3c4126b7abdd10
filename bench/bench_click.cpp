// SPDX-License-Identifier: MIT
// Launching, in-process: how long the click handler keeps the user-interface
// thread, and how soon after the click the started program runs its first
// instruction (the stamp program notes that time). Programs and desktop
// entries are clicked in turn, through the real opener.
//
//   bench_click [--clicks N]
//
// Prints the figures, then one RESULT line of JSON for run_bench.py.
#include "app/Unit1.h"
#include "bench/Figures.h"
#include "bench/MixedEntries.h"
#include "core/entries/EntryLine.h"
#include "launcher/LaunchButton.h"
#include "tests/BarProbe.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFile>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>
#include <ctime>

#ifndef QB_STAMP
#error "QB_STAMP must name the stamp program"
#endif

namespace {

qint64 realtimeNs()
{
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    return qint64(now.tv_sec) * 1000000000 + now.tv_nsec;
}

// The time in the first stamp not yet seen, or nothing after `timeoutMs`.
std::optional<qint64> nextStamp(const QString &folder, QSet<QString> &seen, int timeoutMs)
{
    const qint64 deadline = Figures::monotonicNs() + qint64(timeoutMs) * 1000000;
    while (Figures::monotonicNs() < deadline) {
        const QStringList names = QDir(folder).entryList({QStringLiteral("stamp-*")}, QDir::Files);
        for (const QString &name : names) {
            if (seen.contains(name))
                continue;
            seen.insert(name);
            QFile file(folder + QLatin1Char('/') + name);
            if (file.open(QIODevice::ReadOnly))
                return file.readAll().trimmed().toLongLong();
        }
        QCoreApplication::processEvents();
        QTest::qSleep(1);
    }
    return std::nullopt;
}

} // namespace

int main(int argc, char *argv[])
{
    Figures::choosePlatform();
    QApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addOption(
        {QStringLiteral("clicks"), QStringLiteral("Clicks to make."), QStringLiteral("N"), QStringLiteral("200")});
    parser.addHelpOption();
    parser.process(app);
    const int clicks = std::max(2, parser.value(QStringLiteral("clicks")).toInt());

    QTemporaryDir tmp;
    const QString stamps = tmp.path() + QLatin1String("/stamps");
    QDir().mkpath(stamps);
    qputenv("QB_STAMP_OUT", QFile::encodeName(stamps));
    const QString stamp = QStringLiteral(QB_STAMP);
    const QString desktopEntry = tmp.path() + QLatin1String("/stamp.desktop");
    QFile entryFile(desktopEntry);
    if (!entryFile.open(QIODevice::WriteOnly)
        || entryFile.write(QStringLiteral("[Desktop Entry]\nType=Application\nName=Stamp\nExec=%1\n"
                                          "Icon=utilities-terminal\n")
                               .arg(stamp)
                               .toUtf8())
               < 0) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(desktopEntry));
        return 2;
    }
    entryFile.close();
    const QStringList lines{joinEntryLine(TRec{stamp, QString(), QStringLiteral("program")}),
                            joinEntryLine(TRec{desktopEntry, QString(), QStringLiteral("desktop entry")})};
    MixedEntries::writeHome(tmp.path() + QLatin1String("/home"), QString(), {lines});

    TForm1 form(tmp.path() + QLatin1String("/home/"));
    form.show();
    if (!QTest::qWaitFor([&] { return BarProbe::LaunchBtn(form).size() == lines.size(); }, 20000)) {
        std::fprintf(stderr, "the bar never showed its buttons\n");
        return 1;
    }
    QTest::qWait(300);

    std::vector<double> handlerUs[2], startMs[2];
    QSet<QString> seen;
    int lost = 0;
    for (int i = 0; i < clicks; ++i) {
        const int kind = i % 2;
        LaunchButton *button = BarProbe::LaunchBtn(form).at(kind);
        const qint64 clickedReal = realtimeNs();
        const qint64 clicked = Figures::monotonicNs();
        BarProbe::BtnClickEvent(form, button);
        handlerUs[kind].push_back(double(Figures::monotonicNs() - clicked) / 1e3);
        if (const std::optional<qint64> started = nextStamp(stamps, seen, 5000))
            startMs[kind].push_back(double(*started - clickedReal) / 1e6);
        else
            ++lost;
        // Let the program end and be reaped before the next click.
        QTest::qWait(20);
    }

    std::vector<double> allHandler = handlerUs[0];
    allHandler.insert(allHandler.end(), handlerUs[1].begin(), handlerUs[1].end());
    const char *kinds[2] = {"program", "desktop entry"};
    std::printf("click handler and launch, %d clicks (%s)\n", clicks, qPrintable(QGuiApplication::platformName()));
    for (int k = 0; k < 2; ++k)
        std::printf("  %-14s handler %7.1f us (max %7.1f), program started after %6.2f ms (max %6.2f)\n", kinds[k],
                    Figures::median(handlerUs[k]), Figures::maximum(handlerUs[k]), Figures::median(startMs[k]),
                    Figures::maximum(startMs[k]));
    if (lost)
        std::printf("  %d clicks started nothing within 5 s\n", lost);

    Figures::printResult({
        {QStringLiteral("clicks"), clicks},
        {QStringLiteral("handler_us"), Figures::median(allHandler)},
        {QStringLiteral("handler_max_us"), Figures::maximum(allHandler)},
        {QStringLiteral("program_handler_us"), Figures::median(handlerUs[0])},
        {QStringLiteral("desktop_handler_us"), Figures::median(handlerUs[1])},
        {QStringLiteral("program_start_ms"), Figures::median(startMs[0])},
        {QStringLiteral("program_start_max_ms"), Figures::maximum(startMs[0])},
        {QStringLiteral("desktop_start_ms"), Figures::median(startMs[1])},
        {QStringLiteral("desktop_start_max_ms"), Figures::maximum(startMs[1])},
        {QStringLiteral("lost"), lost},
    });
    return lost ? 1 : 0;
}
