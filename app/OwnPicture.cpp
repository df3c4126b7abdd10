// SPDX-License-Identifier: MIT
#include "app/OwnPicture.h"

#include <QImageReader>

QImage ownPicture(const QString &path)
{
    QImageReader reader(path, "png");
    reader.setAutoDetectImageFormat(false);
    return reader.read();
}
