// SPDX-License-Identifier: MIT
#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QUrl>

// What a button's entry is, as far as a drop on it goes.
enum class DropEntryKind {
    Other,        // a document, a folder, a missing file: takes no drop
    DesktopEntry, // an application's .desktop file
    Program,      // a regular file with execute permission
};

struct DropEntry {
    DropEntryKind kind = DropEntryKind::Other;
    QStringList mimeTypes; // a desktop entry's MimeType list, as written
    QString exec;          // a desktop entry's Exec value, as written
    QString name;          // a desktop entry's Name ("" when it has none)
};

// One dropped URL and the MIME types it counts as: its own type and every
// parent the MIME database knows. A link (any URL but a local file) has none.
struct DroppedItem {
    QUrl url;
    QStringList types;
};

// One program start: the dropped URLs it is given, in the drop's order.
struct DropLaunch {
    QList<QUrl> files;
    bool operator==(const DropLaunch &) const = default;
};

// Reads what a drop needs to know of an entry's file; the same tests as
// opening it (a folder, a .desktop file, an executable, anything else).
// A desktop entry is read up to a size no real one reaches.
DropEntry dropEntryOf(const QString &file);

// The URLs of a drag with their MIME types, found by name alone: reading or
// even stat()ing a thousand files on a slow mount would hold the bar while
// the drag hovers. A name ending in "/" is a folder.
QList<DroppedItem> droppedItems(const QList<QUrl> &urls);

// Whether `entry` takes the whole drop, and the starts it makes; empty when
// it refuses (one item it cannot take refuses all, so nothing is half done).
// - A desktop entry takes files its MimeType list accepts (a listed type is
//   the file's own or one of its parents; "image/*" takes every image), or,
//   without a MimeType list, any file when its Exec has %f %F %u or %U.
//   Links go only to an entry with %u or %U, or whose list names the link's
//   x-scheme-handler. Where the first of those codes takes one file (%f,
//   %u), or there is none, each file starts an instance of its own.
// - A program takes local files, all in one start; no links.
// - Anything else takes nothing, as does an empty drop or an invalid URL.
QList<DropLaunch> dropLaunches(const DropEntry &entry, const QList<DroppedItem> &items);
