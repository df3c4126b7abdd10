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
// Nothing is created here: the folder appears at the first save.
QString chooseHomeFolder(const QString &executableDir, const QString &homeOption,
                         const QString &configHome, const QString &userHome);
