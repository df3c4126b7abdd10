// SPDX-License-Identifier: MIT
#include "bench/MixedEntries.h"

#include "core/entries/EntryLine.h"
#include "core/groups/GroupFile.h"

#include <QDir>
#include <QFile>
#include <QImage>

#include <cstdio>
#include <cstdlib>

namespace {

const char *const kThemeIcons[] = {"utilities-terminal", "accessories-text-editor", "system-file-manager",
                                   "help-browser",       "preferences-system",      "applications-graphics"};

void writeFile(const QString &path, const QByteArray &bytes, bool executable = false)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        std::exit(2);
    }
    if (executable)
        file.setPermissions(file.permissions() | QFile::ExeOwner | QFile::ExeGroup | QFile::ExeOther);
}

} // namespace

namespace MixedEntries {

QStringList make(const QString &folder, const QString &prefix, int count)
{
    QDir().mkpath(folder);
    QStringList lines;
    lines.reserve(count);
    for (int i = 0; i < count; ++i) {
        const QString base = folder + QLatin1Char('/') + prefix + QString::number(i);
        QString path;
        switch (i % 7) {
        case 0:
            path = base + QLatin1String(".sh");
            writeFile(path, "#!/bin/sh\nexit 0\n", true);
            break;
        case 1:
            path = base + QLatin1String(".desktop");
            writeFile(path, QStringLiteral("[Desktop Entry]\nType=Application\nName=Tool %1\nExec=true\nIcon=%2\n")
                                .arg(i)
                                .arg(QLatin1String(kThemeIcons[(i / 7) % std::size(kThemeIcons)]))
                                .toUtf8());
            break;
        case 2: {
            path = base + QLatin1String(".png");
            QImage image(64, 64, QImage::Format_RGB32);
            image.fill(QColor::fromHsv((i * 37) % 360, 200, 220));
            if (!image.save(path)) {
                std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
                std::exit(2);
            }
            break;
        }
        case 3:
            path = base + QLatin1String(".txt");
            writeFile(path, "notes\n");
            break;
        case 4:
            path = base + QLatin1String(".pdf");
            writeFile(path, "%PDF-1.4\n%%EOF\n");
            break;
        case 5:
            path = base + QLatin1String(".ods");
            writeFile(path, "x\n");
            break;
        default:
            path = base;
            QDir().mkpath(path);
            break;
        }
        lines.append(joinEntryLine(TRec{path, QString(), prefix + QString::number(i)}));
    }
    return lines;
}

void writeHome(const QString &home, const QString &iniText, const QList<QStringList> &groups)
{
    QDir().mkpath(home);
    writeFile(home + QLatin1String("/Quillbrook.ini"), iniText.toUtf8());
    for (qsizetype g = 0; g < groups.size(); ++g) {
        QString error;
        if (!writeGroupFile(home + QLatin1Char('/') + groupFileName(int(g)), groups[g], &error)) {
            std::fprintf(stderr, "cannot write group %d: %s\n", int(g), qPrintable(error));
            std::exit(2);
        }
    }
}

} // namespace MixedEntries
