// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QStringList>

// The temporary files that saves killed before their rename left in
// `folder`: regular files, not links or folders, beside one of the files
// named in `targets` and named as that file's saves name their temporary
// files (isAtomicSaveTemporary). Nothing else in the folder is looked at.
// Only while no one else can be saving into `folder` are these leftovers
// rather than a save in progress.
QStringList findSaveLeftovers(const QString &folder, const QStringList &targets);

// Removes what findSaveLeftovers() finds; returns the paths it removed.
QStringList removeSaveLeftovers(const QString &folder, const QStringList &targets);
