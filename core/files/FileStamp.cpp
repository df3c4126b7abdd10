// SPDX-License-Identifier: MIT
#include "core/files/FileStamp.h"

#include <QFile>

#include <sys/stat.h>

FileStamp fileStamp(const QString &path)
{
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return {};
    FileStamp stamp;
    stamp.exists = true;
    stamp.kind = S_ISREG(info.st_mode)   ? FileStamp::Kind::File
                 : S_ISDIR(info.st_mode) ? FileStamp::Kind::Folder
                                         : FileStamp::Kind::Other;
    stamp.size = info.st_size;
    stamp.mtimeNs = qint64(info.st_mtim.tv_sec) * 1'000'000'000 + info.st_mtim.tv_nsec;
    stamp.device = info.st_dev;
    stamp.inode = info.st_ino;
    return stamp;
}
