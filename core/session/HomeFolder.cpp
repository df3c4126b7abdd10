// SPDX-License-Identifier: MIT
#include "core/session/HomeFolder.h"

#include <QDir>
#include <QFileInfo>

namespace {

QString withSlash(const QString &folder)
{
    const QString clean = QDir::cleanPath(folder);
    return clean.endsWith(u'/') ? clean : clean + QLatin1Char('/');
}

} // namespace

HomeFolder chooseHomeFolder(const QString &executableDir, const QString &homeOption, const QString &configHome,
                            const QString &userHome)
{
    if (!homeOption.isEmpty())
        return {withSlash(QFileInfo(homeOption).absoluteFilePath()), true};
    if (QFileInfo(QDir::cleanPath(executableDir)).fileName() == u"bin") {
        // A relative XDG_CONFIG_HOME is invalid by the Base Directory rules
        // and would follow the current folder around: it is ignored.
        const QString config = QDir::isAbsolutePath(configHome) ? configHome : userHome + QStringLiteral("/.config");
        return {withSlash(config + QStringLiteral("/Quillbrook")), true};
    }
    return {withSlash(executableDir), false};
}
