// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

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

// What a desktop entry is called, for finding it: Name, GenericName and
// Keywords of its [Desktop Entry] group, each in the first of `localeKeys`
// it is translated into (see desktopLocaleKeys), else untranslated. Key-file
// escapes (\s \n \t \r \\, and \; inside Keywords) are undone.
struct DesktopEntryNames {
    QString name;
    QString genericName;
    QStringList keywords;
};
DesktopEntryNames desktopEntryNames(const QByteArray &content, const QStringList &localeKeys);

// The locale keys of translated values to try, best first, for POSIX locale
// names such as "ja_JP.UTF-8" or "sr_RS@latin" (an encoding is ignored, as
// the Desktop Entry rules say): lang_COUNTRY@MODIFIER, lang_COUNTRY,
// lang@MODIFIER, lang. "C" and "POSIX" give none.
QStringList desktopLocaleKeys(const QStringList &posixLocales);
