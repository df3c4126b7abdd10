// SPDX-License-Identifier: MIT
#pragma once

#include <QHash>
#include <QObject>
#include <QString>
#include <QStringList>

class QFileSystemWatcher;

// Tells when files another program may edit, or the folder holding them,
// change: the kernel wakes us, nothing polls. A file replaced by a rename
// (editors save so, and so do we) is a new file the watch would lose, and
// a file that is not there yet can only be seen through its folder: both
// are watched again after every change.
class FileWatch : public QObject
{
    Q_OBJECT

public:
    explicit FileWatch(QObject *parent = nullptr);
    // Watches `files` and the folder `folder`, instead of what was watched.
    void setPaths(const QString &folder, const QStringList &files);

Q_SIGNALS:
    // One of the files, or the folder, changed: time to look at them again.
    // Our own writes wake it too; the stamps tell them apart.
    void changed();

private:
    void watchAgain();

    QFileSystemWatcher *m_watcher = nullptr;
    QString m_folder;
    QStringList m_files;
    QHash<QString, quint64> m_inodes; // of the file each watched path was when watched
};
