// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

struct TRec;

// What a screen reader says for an entry's button.

// The entry's hint as the user wrote it; for a hint of blanks or none, the
// file's name ("/a/b/" gives "b", since a folder is named by its last part).
QString accessibleEntryName(const TRec &rec);

// The file's path, then the parameters after a space when there are any.
QString accessibleEntryDescription(const TRec &rec);
