// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QString>

// The value of the Icon key in the [Desktop Entry] group of a desktop
// entry's text ("" when it has none). Localised Icon[xx] keys are not used.
QString desktopEntryIcon(const QByteArray &content);
