// SPDX-License-Identifier: MIT
#pragma once

#include <QList>
#include <QString>
#include <QUrl>
#include <optional>

// What a click hands to the worker that opens an entry.
struct LaunchRequest {
    QString file;        // the file to open
    QString params;      // parameters; empty means none
    QString workingDir;  // the folder it starts in; filled by the worker
    QList<QUrl> dropped; // files dropped on the entry, for one start of it
};

// The request for an entry line: its file and parameters (none when the line
// has fewer than three fields). A line of more than three fields opens
// nothing.
std::optional<LaunchRequest> launchRequestFor(const QString &line);
