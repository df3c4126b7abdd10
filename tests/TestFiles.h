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

// The file's bytes, or "<unreadable>" when it cannot be read (or is missing).
inline QByteArray readBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

} // namespace TestFiles
