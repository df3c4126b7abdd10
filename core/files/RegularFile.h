// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QString>

// Reads a file the user keeps, and nothing else: a FIFO, a device, a folder
// or a link that leads nowhere is never opened, so a strange file in its
// place can neither block the launcher nor feed it without end.
struct RegularFileRead {
    enum Status {
        Missing,    // no such file, and no link by that name
        Unreadable, // something is there, but not a regular file we can read
        Partial,    // longer than asked for: `bytes` holds its beginning
        Read,
    };
    Status status = Missing;
    QByteArray bytes;
};

// Reads at most `maxBytes` bytes of the regular file at `path`, following
// symbolic links.
RegularFileRead readRegularFile(const QString &path, qint64 maxBytes);

// Whether `path` names something that is not a regular file (a FIFO, a
// device, a socket, a folder), following symbolic links. Replacing such a
// thing by a file of ours would destroy it.
bool isSpecialFile(const QString &path);
