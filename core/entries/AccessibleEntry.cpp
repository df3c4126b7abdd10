// SPDX-License-Identifier: MIT
#include "core/entries/AccessibleEntry.h"

#include "core/entries/EntryLine.h"
#include "core/entries/PathRules.h"

QString accessibleEntryName(const TRec &rec)
{
    if (!rec.hint.trimmed().isEmpty())
        return rec.hint;
    QString path = rec.fname;
    // "/" alone stays, so the root folder is not nameless.
    while (path.size() > 1 && path.endsWith(u'/'))
        path.chop(1);
    const QString name = fileNamePart(path);
    return name.isEmpty() ? path : name;
}

QString accessibleEntryDescription(const TRec &rec)
{
    if (rec.param.isEmpty())
        return rec.fname;
    return rec.fname + u' ' + rec.param;
}
