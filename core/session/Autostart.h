// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

// Starting the launcher at login, through an XDG autostart entry:
// `configHome`/autostart/<application id>.desktop, whose Exec runs the
// program given. The entry counts as ours only when it names that very
// program, so a copy in another folder shows its own state.
namespace Autostart {

// The entry's path under the user's config folder ($XDG_CONFIG_HOME).
QString entryPath(const QString &configHome);

// The value of an Exec key, as the file holds it, that runs `program` with
// no arguments: quoted by the Desktop Entry rules where needed, "%" doubled,
// and escaped as a desktop entry string.
QString execValue(const QString &program);

// The program an Exec value (as the file holds it) runs: its first word,
// unescaped and unquoted; empty when there is none.
QString execProgram(const QString &value);

// The whole autostart entry for `program`.
QByteArray entryText(const QString &program);

// Whether the entry exists, is not hidden, and runs `program`.
bool isEnabled(const QString &configHome, const QString &program);

// Write or remove the entry. On failure return false with the message to
// show in `error` (the system's reason kept as it gives it).
bool enable(const QString &configHome, const QString &program, QString *error);
bool disable(const QString &configHome, QString *error);

} // namespace Autostart
