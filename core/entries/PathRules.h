// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

struct TRec;

// "/" is the only path separator on Linux; ":" is an ordinary character.

// The part after the last separator (all of it when there is none).
QString fileNamePart(const QString &path);

// The file name without its extension: "/a/archive.tar.gz" gives
// "archive.tar", "/a/.profile" gives "".
QString ExtractFileTitle(const QString &path);

// The hint of a launch button: the entry's hint, followed by " -> " and the
// file-name part of the parameters when there are parameters.
QString launchHint(const TRec &rec);

// The directory an entry's file is started in: its folder without a trailing
// separator, "/" for a file in the root, "" for a bare name.
QString workingDirectoryOf(const QString &path);
