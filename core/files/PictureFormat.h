// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QString>

// The image format a file holds, told from its first bytes, or from its name
// for formats whose first bytes say too little. Asking Qt instead loads
// every image plugin (and the libraries behind them) to ask each in turn,
// even for a text file; knowing the format loads at most the one plugin.
//
// "png", "jpeg", "gif", "bmp", "ico", "cur", "webp", "tiff" or "svg" from
// the content; for a name ending in another picture suffix ("xpm", "pbm",
// "tga", ...), that suffix; otherwise empty: the file is not a picture.
QByteArray pictureFormat(const QByteArray &content, const QString &fileName);
