// SPDX-License-Identifier: MIT
#include "platform/DesktopEntry.h"

#include <QList>

QString desktopEntryIcon(const QByteArray &content)
{
    bool inMainGroup = false;
    for (const QByteArray &rawLine : content.split('\n')) {
        const QByteArrayView line = QByteArrayView(rawLine).trimmed();
        if (line.isEmpty() || line.startsWith('#'))
            continue;
        if (line.startsWith('[')) {
            inMainGroup = line == "[Desktop Entry]";
            continue;
        }
        if (!inMainGroup)
            continue;
        const qsizetype eq = line.indexOf('=');
        if (eq < 0 || line.first(eq).trimmed() != "Icon")
            continue;
        return QString::fromUtf8(line.sliced(eq + 1).trimmed());
    }
    return {};
}
