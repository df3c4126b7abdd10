// SPDX-License-Identifier: MIT
#pragma once

#include <QPixmap>
#include <QString>

// Icons of files as the Linux desktop shows them.
namespace FileIcons {

// Makes theme icons work without a desktop environment: a theme that exists,
// the hicolor fallback and the pixmaps folder. Runs once.
void ensureIconTheme();

// The file's own icon at `side` x `side`: a desktop entry's Icon, an image
// file itself, a folder's or a program's icon. Null when the file has none.
QPixmap ownIcon(const QString &path, int side, qreal dpr);

// The icon of the file's type, chosen from its name alone (the path need not
// exist). Never null: our own icon stands in when the theme has none.
QPixmap typeIcon(const QString &path, int side, qreal dpr);

// Image files larger than this do not show themselves.
constexpr qint64 kMaxImageBytes = 8 * 1024 * 1024;

} // namespace FileIcons
