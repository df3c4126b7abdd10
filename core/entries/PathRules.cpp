// SPDX-License-Identifier: MIT
#include "core/entries/PathRules.h"

#include "core/entries/EntryLine.h"

namespace {

constexpr QChar kSeparator = u'/';

} // namespace

QString fileNamePart(const QString &path)
{
    return path.mid(path.lastIndexOf(kSeparator) + 1);
}

QString ExtractFileTitle(const QString &path)
{
    // Searching the name alone keeps a dot in a folder name from counting.
    const QString name = fileNamePart(path);
    const qsizetype dot = name.lastIndexOf(u'.');
    return dot < 0 ? name : name.left(dot);
}

QString launchHint(const TRec &rec)
{
    if (rec.param.isEmpty())
        return rec.hint;
    return rec.hint + QStringLiteral(" -> ") + fileNamePart(rec.param);
}

QString workingDirectoryOf(const QString &path)
{
    const qsizetype slash = path.lastIndexOf(kSeparator);
    if (slash < 0)
        return QString();
    if (slash == 0)
        return QString(kSeparator);
    return path.left(slash);
}
