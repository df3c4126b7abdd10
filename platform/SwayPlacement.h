// SPDX-License-Identifier: MIT
#pragma once

#include <QPoint>
#include <QString>

class QObject;

// sway centres every floating X11 window it manages, whatever place the
// window asks for; only its IPC (the i3 protocol on the socket named by
// SWAYSOCK) can put one elsewhere. Does nothing outside sway.
namespace SwayPlacement {

bool available();

// Moves this process's window titled `title` to `pos` (layout coordinates)
// once sway manages it: the command is repeated a few times while sway does
// not know the window yet. The request lives as a child of `owner`.
void moveTo(QObject *owner, const QString &title, QPoint pos);

} // namespace SwayPlacement
