// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QString>

// Replaces the file at `path` with `data` as a whole: the data goes to a
// temporary file in the same directory, every write, the sync to disk, the
// mode and the close are checked, and only then is it renamed over the old
// file; the folder is synced after the rename so that the new name outlives
// a power cut. A crash, a full disk or a failing device leaves the old file
// whole. The new file keeps the old one's mode, and its owner and group
// where the process may set them; a symbolic link is followed to its target.
// On failure returns false and sets *error to the reason (systemReason()). Only a
// failed sync of the folder comes after the rename: the file then holds the
// new data, and the error says so.
bool writeFileAtomically(const QString &path, const QByteArray &data, QString *error);

// Whether `fileName` has the form of the temporary files that saves of
// `targetName` make: the target's name, ".saving-" and six ASCII letters, as
// in "Quillbrook.ini.saving-aBcDeF"; or of those QSaveFile made before: a
// dot and six letters of both cases, as in "Quillbrook.ini.aBcDeF" (one case
// alone, as in "Quillbrook.ini.backup", is taken for the user's own file).
bool isAtomicSaveTemporary(const QString &fileName, const QString &targetName);
