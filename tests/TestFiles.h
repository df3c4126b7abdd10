// SPDX-License-Identifier: MIT
#pragma once

// Small helpers for the fixtures the tests build: real files in a test's
// own temporary folder.
#include <QByteArray>
#include <QFile>
#include <QString>

namespace TestFiles {

inline bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// The file's bytes; "<missing>" when there is no such file, "<unreadable>"
// when there is one that cannot be read (a folder, say).
inline QByteArray readBytes(const QString &path)
{
    QFile file(path);
    if (!file.exists())
        return "<missing>";
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

} // namespace TestFiles
