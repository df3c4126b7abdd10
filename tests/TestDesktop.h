// SPDX-License-Identifier: MIT
#pragma once

// A desktop of the test's own for the tests that really start programs: GIO
// sees only the applications the test installs, and ended children are
// found.
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QStringList>

#include <unistd.h>

namespace TestDesktop {

// GIO reads the desktop's folders once, at its first use: this points them
// at folders under `base` before anything calls it. The system's
// applications are left out, so nothing but the test's own can be started;
// only the system's table of file types is kept. Returns the folder that
// takes the test's applications ("<data>/applications") and mimeapps.list
// ("<config>"), as the pair's first and second.
inline std::pair<QString, QString> isolate(const QDir &base)
{
    const QString data = base.filePath(QStringLiteral("data"));
    const QString config = base.filePath(QStringLiteral("config"));
    const QString systemData = base.filePath(QStringLiteral("system data"));
    qputenv("XDG_DATA_HOME", QFile::encodeName(data));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config));
    qputenv("XDG_DATA_DIRS", QFile::encodeName(systemData));
    qputenv("XDG_CONFIG_DIRS", QFile::encodeName(base.filePath(QStringLiteral("system config"))));
    QDir().mkpath(systemData);
    if (QFileInfo::exists(QStringLiteral("/usr/share/mime")))
        QFile::link(QStringLiteral("/usr/share/mime"), systemData + QStringLiteral("/mime"));
    QDir().mkpath(data + QStringLiteral("/applications"));
    QDir().mkpath(config);
    return {data + QStringLiteral("/applications"), config};
}

// Children of this process that have ended and were never reaped.
inline QStringList zombieChildren()
{
    QStringList zombies;
    const QByteArray self = QByteArray::number(::getpid());
    const QStringList pids = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString &pid : pids) {
        QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
        if (!stat.open(QIODevice::ReadOnly))
            continue;
        // "pid (name) state ppid ...": the name may hold blanks and brackets.
        const QByteArray line = stat.readAll();
        const QList<QByteArray> rest = line.mid(line.lastIndexOf(')') + 2).split(' ');
        if (rest.size() > 1 && rest.at(0) == "Z" && rest.at(1) == self)
            zombies.append(QString::fromLatin1(line));
    }
    return zombies;
}

} // namespace TestDesktop
