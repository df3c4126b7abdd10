// SPDX-License-Identifier: MIT
#include "core/entries/DropAcceptance.h"

#include "core/entries/DesktopEntry.h"

#include <QFile>
#include <QFileInfo>
#include <QMimeDatabase>

#include <algorithm>

namespace {

// A desktop entry is a few kilobytes; anything past this is not one, and
// reading it during a drag would stall the bar.
constexpr qint64 kMaxDesktopEntrySize = 256 * 1024;

// The first of %f %F %u %U in an Exec value; 0 when there is none.
QChar firstFileCode(const QString &exec)
{
    for (qsizetype i = 0; i + 1 < exec.size(); ++i) {
        if (exec[i] != u'%')
            continue;
        const QChar code = exec[++i];
        if (code == u'f' || code == u'F' || code == u'u' || code == u'U')
            return code;
    }
    return QChar();
}

bool hasUrlCode(const QString &exec)
{
    for (qsizetype i = 0; i + 1 < exec.size(); ++i) {
        if (exec[i] != u'%')
            continue;
        const QChar code = exec[++i];
        if (code == u'u' || code == u'U')
            return true;
    }
    return false;
}

// The entry's types by their canonical names, so that an alias it lists
// (text/x-python3 for text/x-python) still matches.
QStringList canonicalTypes(const QStringList &types)
{
    const QMimeDatabase db;
    QStringList result;
    for (const QString &written : types) {
        const QString type = written.trimmed().toLower();
        if (type.isEmpty())
            continue;
        const QMimeType known = type.endsWith(QLatin1String("/*")) ? QMimeType() : db.mimeTypeForName(type);
        result.append(known.isValid() ? known.name() : type);
    }
    return result;
}

bool typeAccepts(const QString &listed, const QStringList &fileTypes)
{
    if (listed.endsWith(QLatin1String("/*"))) {
        const QStringView prefix = QStringView(listed).chopped(1);
        return std::any_of(fileTypes.begin(), fileTypes.end(),
                           [prefix](const QString &t) { return t.startsWith(prefix); });
    }
    return fileTypes.contains(listed);
}

bool isLink(const QUrl &url)
{
    return !url.isLocalFile();
}

} // namespace

DropEntry dropEntryOf(const QString &file)
{
    const QFileInfo info(file);
    if (file.isEmpty() || !info.exists() || info.isDir() || !info.isFile())
        return {};
    if (file.endsWith(QLatin1String(".desktop"))) {
        QFile entryFile(file);
        if (info.size() > kMaxDesktopEntrySize || !entryFile.open(QIODevice::ReadOnly))
            return {};
        const QByteArray content = entryFile.read(kMaxDesktopEntrySize);
        DropEntry entry;
        entry.kind = DropEntryKind::DesktopEntry;
        entry.exec = desktopEntryValue(content, "Exec");
        entry.name = desktopEntryValue(content, "Name");
        entry.mimeTypes = desktopEntryValue(content, "MimeType").split(u';', Qt::SkipEmptyParts);
        return entry;
    }
    if (info.isExecutable())
        return {DropEntryKind::Program, {}, {}, {}};
    return {};
}

QList<DroppedItem> droppedItems(const QList<QUrl> &urls)
{
    const QMimeDatabase db;
    QList<DroppedItem> items;
    items.reserve(urls.size());
    for (const QUrl &url : urls) {
        DroppedItem item{url, {}};
        if (url.isLocalFile()) {
            const QString path = url.toLocalFile();
            const QMimeType type = path.endsWith(u'/') ? db.mimeTypeForName(QStringLiteral("inode/directory"))
                                                       : db.mimeTypeForFile(path, QMimeDatabase::MatchExtension);
            item.types.append(type.name());
            item.types.append(type.allAncestors());
        }
        items.append(std::move(item));
    }
    return items;
}

QList<DropLaunch> dropLaunches(const DropEntry &entry, const QList<DroppedItem> &items)
{
    if (items.isEmpty())
        return {};
    for (const DroppedItem &item : items) {
        if (!item.url.isValid() || item.url.isEmpty() || (item.url.isLocalFile() && item.url.toLocalFile().isEmpty()))
            return {};
    }
    QList<QUrl> urls;
    urls.reserve(items.size());
    for (const DroppedItem &item : items)
        urls.append(item.url);

    switch (entry.kind) {
    case DropEntryKind::Other:
        return {};
    case DropEntryKind::Program:
        // A program is handed paths; it could do nothing sensible with a URL.
        if (std::any_of(items.begin(), items.end(), [](const DroppedItem &item) { return isLink(item.url); }))
            return {};
        return {DropLaunch{urls}};
    case DropEntryKind::DesktopEntry:
        break;
    }

    if (entry.exec.trimmed().isEmpty())
        return {};
    const QChar code = firstFileCode(entry.exec);
    const bool takesUrls = hasUrlCode(entry.exec);
    const QStringList listed = canonicalTypes(entry.mimeTypes);
    for (const DroppedItem &item : items) {
        bool taken = false;
        if (isLink(item.url)) {
            const QString handler = QLatin1String("x-scheme-handler/") + item.url.scheme().toLower();
            taken = takesUrls || listed.contains(handler);
        } else if (listed.isEmpty()) {
            taken = !code.isNull();
        } else {
            taken = std::any_of(listed.begin(), listed.end(),
                                [&item](const QString &type) { return typeAccepts(type, item.types); });
        }
        if (!taken)
            return {};
    }
    if (code == u'F' || code == u'U')
        return {DropLaunch{urls}};
    QList<DropLaunch> launches;
    launches.reserve(urls.size());
    for (const QUrl &url : std::as_const(urls))
        launches.append(DropLaunch{{url}});
    return launches;
}
