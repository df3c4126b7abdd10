// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QString>

// Replaces the file at `path` with `data` as a whole: the data goes to a
// temporary file in the same directory, is flushed to disk and renamed over
// the old file, so a crash or a full disk leaves the old file whole. The new
// file keeps the old one's mode, and its owner and group where the process
// may set them.
// On failure returns false and sets *error to the system's error text.
bool writeFileAtomically(const QString &path, const QByteArray &data, QString *error);
