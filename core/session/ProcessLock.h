// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

// A lock on a file that lasts exactly as long as the process that took it:
// the kernel lets go of it when the process ends, however it ends, so a
// killed owner never leaves a lock behind and nothing has to judge whether
// an old one is stale. Nothing is synced to disk: the lock is in the kernel,
// not in the file.
class ProcessLock
{
public:
    enum class Result {
        Locked, // this process holds the lock now
        Held,   // another open of the file holds it
        Failed, // no lock can be taken at this path
    };

    explicit ProcessLock(QString path);
    ~ProcessLock();
    ProcessLock(const ProcessLock &) = delete;
    ProcessLock &operator=(const ProcessLock &) = delete;

    // Never waits. `error` gets the reason of a failure.
    Result tryLock(QString *error = nullptr);
    bool isLocked() const { return m_fd >= 0; }
    const QString &path() const { return m_path; }

private:
    QString m_path;
    int m_fd = -1;
};
