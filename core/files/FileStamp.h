// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

// What a file looked like when we last read or wrote it. Another program's
// change shows as a different stamp: an edit in place changes the time or
// the size, a save by rename (as editors and we ourselves do) the inode.
struct FileStamp {
    enum class Kind : quint8 { Other, File, Folder };
    bool exists = false;
    Kind kind = Kind::Other;
    qint64 size = 0;
    qint64 mtimeNs = 0;
    quint64 device = 0;
    quint64 inode = 0;
    bool operator==(const FileStamp &) const = default;
    // A regular file or a folder: what a launch button can stand for.
    bool isFileOrFolder() const { return kind != Kind::Other; }
};

// The stamp of the file at `path`, following symbolic links as reading and
// writing do; a name with nothing readable behind it does not exist.
FileStamp fileStamp(const QString &path);
