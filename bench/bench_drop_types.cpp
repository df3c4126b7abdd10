// SPDX-License-Identifier: MIT
// What a drag of 1000 files costs the bar where it enters and where it first
// hovers a program's button: typing each URL by name and deciding the drop.
// The first round includes loading the MIME database.
#include "Figures.h"

#include "core/entries/DropAcceptance.h"

#include <QCoreApplication>
#include <QJsonObject>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    constexpr int kFiles = 1000;
    constexpr int kRounds = 21;
    static const char *const kNames[] = {"notes.txt",      "main.cpp", "run.py",    "photo.jpg", "report.pdf",
                                         "archive.tar.gz", "README",   "sheet.ods", "page.html", "song.mp3"};
    QList<QUrl> urls;
    for (int i = 0; i < kFiles; ++i)
        urls.append(
            QUrl::fromLocalFile(QStringLiteral("/home/u/files/%1-%2").arg(i).arg(QLatin1String(kNames[i % 10]))));
    const DropEntry editor{DropEntryKind::DesktopEntry,
                           {QStringLiteral("text/plain"), QStringLiteral("image/*")},
                           QStringLiteral("edit %F"),
                           {}};
    const DropEntry perFile{DropEntryKind::DesktopEntry, {}, QStringLiteral("view %f"), {}};

    std::vector<double> typing, deciding;
    double first = 0;
    qsizetype starts = 0;
    for (int round = 0; round < kRounds; ++round) {
        const qint64 t0 = Figures::monotonicNs();
        const QList<DroppedItem> items = droppedItems(urls);
        const qint64 t1 = Figures::monotonicNs();
        starts = dropLaunches(editor, items).size() + dropLaunches(perFile, items).size();
        const qint64 t2 = Figures::monotonicNs();
        if (round == 0) {
            first = (t2 - t0) / 1e6;
            continue;
        }
        typing.push_back((t1 - t0) / 1e6);
        deciding.push_back((t2 - t1) / 1e6);
    }
    std::printf("%d dropped files: first round %.2f ms (MIME database loaded); then typing %.2f ms, "
                "deciding two entries %.2f ms (medians; max %.2f / %.2f); %lld starts decided\n",
                kFiles, first, Figures::median(typing), Figures::median(deciding), Figures::maximum(typing),
                Figures::maximum(deciding), static_cast<long long>(starts));
    Figures::printResult(QJsonObject{{QStringLiteral("bench"), QStringLiteral("drop_types")},
                                     {QStringLiteral("files"), kFiles},
                                     {QStringLiteral("first_ms"), first},
                                     {QStringLiteral("typing_ms"), Figures::median(typing)},
                                     {QStringLiteral("deciding_ms"), Figures::median(deciding)}});
    return 0;
}
