// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QStringList>

// Groups as users fill them, made of real files for the benchmarks: programs,
// desktop entries with theme icons, images, documents and folders, in turn,
// every entry a file of its own so no icon is shared by accident.
namespace MixedEntries {

// Makes `count` entries under `folder` (names start with `prefix`) and
// returns their entry lines.
QStringList make(const QString &folder, const QString &prefix, int count);

// A launcher home folder: a settings file with `iniText` and one group file
// per list of lines.
void writeHome(const QString &home, const QString &iniText, const QList<QStringList> &groups);

} // namespace MixedEntries
