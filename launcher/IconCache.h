// SPDX-License-Identifier: MIT
#pragma once

#include <QPixmap>
#include <QString>

#include <optional>

struct FileStamp;

// File icons are made once per file, size and modification time and shared
// by every button that shows them, across group switches and rebuilds. An
// icon that changes on disk is made again because its time changes.
namespace IconCache {

// The file's own icon (null when it has none).
QPixmap ownIcon(const QString &path, int side, qreal dpr);
// The icon of the file's type, by its name.
QPixmap typeIcon(const QString &path, int side, qreal dpr);

// The icon a button shows for this file (its own, else its type's) if it is
// made already; makes nothing. `stamp` is the file's as just read.
std::optional<QPixmap> cachedShownIcon(const QString &path, const FileStamp &stamp, int side, qreal dpr);

// Drops every icon. Also runs by itself as the application ends, since no
// pixmap may outlive it.
void clear();

} // namespace IconCache
