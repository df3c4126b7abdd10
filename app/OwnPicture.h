// SPDX-License-Identifier: MIT
#pragma once

#include <QImage>
#include <QString>

// One of the launcher's own PNG pictures (a resource path). Read as the PNG
// it is: a reader left to guess the format loads every image plugin to ask
// it first, which costs the start milliseconds.
QImage ownPicture(const QString &path);
