// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// The value of the Icon key in the [Desktop Entry] group of a desktop
// entry's text ("" when it has none). Localised Icon[xx] keys are not used.
QString desktopEntryIcon(const QByteArray &content);

// The raw value of `key` in the [Desktop Entry] group ("" when it has
// none): the first one wins, localised keys (Name[ja]) are other keys, and
// the key file's escapes are left as they are written.
QString desktopEntryValue(const QByteArray &content, QByteArrayView key);

// One parameter word for a desktop entry's command: a word that names a
// file carries it as a path (for %f and %F) and as a URI (for %u and %U);
// any other word is passed as it is written, in both forms.
struct ExecWord {
    QString asPath;
    QString asUri;
};

// One argument of an Exec value, quoted by the Desktop Entry rules where it
// holds a reserved character (or is empty), so GIO gives it to the program
// unchanged. The key file's own escaping is not applied.
QString execArgument(const QString &word);

// The Exec value with the words in place of its first file field code
// (%f %F %u %U; any further ones are dropped), or appended when it has
// none. Each word is quoted by the Desktop Entry rules, so the command
// line GIO builds from it gives each word to the program unchanged.
QString execWithWords(const QString &exec, const QList<ExecWord> &words);
