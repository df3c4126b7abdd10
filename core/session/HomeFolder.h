// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

// Where the launcher keeps its settings and group files (HomePath), ending
// in "/":
// - `homeOption` (the --home command-line option), when given, made absolute;
// - else, for a program in a folder named "bin" (an installed one), the
//   folder "Quillbrook" in the user's config folder: `configHome`
//   ($XDG_CONFIG_HOME) when absolute, else `userHome` + "/.config";
// - else `executableDir` itself, the portable layout of a build folder.
// Nothing is created here. The last two folders are the launcher's own and
// appear at its first save (`createOnSave`); a portable folder that has gone
// is not made again, so saving reports it.
struct HomeFolder {
    QString path;
    bool createOnSave = false;
    bool operator==(const HomeFolder &) const = default;
};
HomeFolder chooseHomeFolder(const QString &executableDir, const QString &homeOption, const QString &configHome,
                            const QString &userHome);
