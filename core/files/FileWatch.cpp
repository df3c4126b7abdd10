// SPDX-License-Identifier: MIT
#include "core/files/FileWatch.h"

#include "core/files/FileStamp.h"

#include <QDir>
#include <QFileSystemWatcher>

FileWatch::FileWatch(QObject *parent)
    : QObject(parent)
    , m_watcher(new QFileSystemWatcher(this))
{
    const auto changedNow = [this] {
        watchAgain();
        Q_EMIT changed();
    };
    connect(m_watcher, &QFileSystemWatcher::fileChanged, this, changedNow);
    connect(m_watcher, &QFileSystemWatcher::directoryChanged, this, changedNow);
}

void FileWatch::setPaths(const QString &givenFolder, const QStringList &files)
{
    // The watcher names a folder without its final "/".
    const QString folder = givenFolder.isEmpty() ? QString() : QDir::cleanPath(givenFolder);
    if (folder == m_folder && files == m_files) {
        watchAgain();
        return;
    }
    const QStringList watched = m_watcher->files() + m_watcher->directories();
    if (!watched.isEmpty())
        m_watcher->removePaths(watched);
    m_inodes.clear();
    m_folder = folder;
    m_files = files;
    watchAgain();
}

void FileWatch::watchAgain()
{
    if (!m_folder.isEmpty() && !m_watcher->directories().contains(m_folder) && fileStamp(m_folder).exists)
        m_watcher->addPath(m_folder);
    const QStringList watched = m_watcher->files();
    for (const QString &path : std::as_const(m_files)) {
        const FileStamp stamp = fileStamp(path);
        const bool isWatched = watched.contains(path);
        // Still watching the file the path named before a rename over it.
        if (isWatched && (!stamp.exists || m_inodes.value(path) != stamp.inode)) {
            m_watcher->removePath(path);
            m_inodes.remove(path);
        } else if (isWatched) {
            continue;
        }
        if (stamp.exists && m_watcher->addPath(path))
            m_inodes.insert(path, stamp.inode);
    }
}
