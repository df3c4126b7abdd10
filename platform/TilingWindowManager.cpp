// SPDX-License-Identifier: MIT
#include "platform/TilingWindowManager.h"

#include "platform/X11Window.h"

#include <QString>
#include <QtGlobal>

namespace TilingWindowManager {

bool floatsOnlyFixedSize()
{
    if (!qEnvironmentVariableIsEmpty("SWAYSOCK") || !qEnvironmentVariableIsEmpty("I3SOCK"))
        return true;
    const QString name = X11Window::windowManagerName();
    return name.compare(QLatin1String("i3"), Qt::CaseInsensitive) == 0
           || name.compare(QLatin1String("sway"), Qt::CaseInsensitive) == 0;
}

} // namespace TilingWindowManager
