// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

// What a file looked like when we last read or wrote it. Another program's
// change shows as a different stamp: an edit in place changes the time or
// the size, a save by rename (as editors and we ourselves do) the inode.
struct FileStamp {
    bool exists = false;
    qint64 size = 0;
    qint64 mtimeNs = 0;
    quint64 device = 0;
    quint64 inode = 0;
    bool operator==(const FileStamp &) const = default;
};

// The stamp of the file at `path`, following symbolic links as reading and
// writing do; a name with nothing readable behind it does not exist.
FileStamp fileStamp(const QString &path);
