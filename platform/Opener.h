// SPDX-License-Identifier: MIT
#pragma once

#include <QList>
#include <QString>
#include <QUrl>

// Opens a file the way the Linux desktop does, never through a shell:
// - a folder in the default file manager;
// - a desktop entry as an application, the parameter words as its files,
//   started in the entry's Path or else in `workingDir`;
// - a program (a regular file with execute permission) directly, the
//   parameters split into words as a POSIX shell splits them (quotes group,
//   nothing is expanded), in `workingDir`, standard input from /dev/null;
// - any other file with the default application for its type (documents
//   take no parameters).
// Applications start in their own Path when their entry has one, else in
// `workingDir`.
// Started programs are detached and reaped: no zombie is left. Blocks for
// as long as starting takes; safe to call from any thread.
// Folders, documents and desktop entries go through GIO, loaded at the
// first of them; where it cannot be loaded they fail with the loader's
// reason, and programs still start.
namespace Opener {

// False when the file could not be opened, with the reason in `error`.
bool open(const QString &file, const QString &params, const QString &workingDir, QString *error);

// Starts a desktop entry or a program with `files` (dropped on it) after its
// parameters, as one instance. A desktop entry places them at its first file
// field code, as paths for %f %F and URIs for %u %U; a program is given the
// local paths as arguments of their own. Anything else refuses.
bool openWithFiles(const QString &file, const QString &params, const QString &workingDir, const QList<QUrl> &files,
                   QString *error);

} // namespace Opener
