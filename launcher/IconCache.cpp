// SPDX-License-Identifier: MIT
#include "launcher/IconCache.h"

#include "platform/FileIcons.h"
#include "platform/FileStamp.h"

#include <QCache>
#include <QCoreApplication>
#include <QDateTime>
#include <QFileInfo>

namespace {

constexpr int kMaxCostKiB = 64 * 1024;

QCache<QString, QPixmap> &cache()
{
    static QCache<QString, QPixmap> c(kMaxCostKiB);
    return c;
}

bool clearAtExitPending = false;

// A pixmap that outlives the application crashes or warns as it goes, so
// the cache empties itself while the application ends. Post routines run
// once, so each later application gets its own.
void clearAtApplicationExit()
{
    if (clearAtExitPending || !QCoreApplication::instance())
        return;
    clearAtExitPending = true;
    qAddPostRoutine([] {
        clearAtExitPending = false;
        IconCache::clear();
    });
}

QString keyOf(char kind, const QString &path, int side, qreal dpr)
{
    // Nanoseconds and the inode: a picture rewritten within the same second,
    // or replaced by rename with the same size, is still a new picture.
    const FileStamp stamp = fileStamp(path);
    return QStringLiteral("%1|%2|%3|%4|%5|%6|").arg(kind).arg(side).arg(dpr)
               .arg(stamp.exists ? stamp.mtimeNs : -1).arg(stamp.size).arg(stamp.inode)
        + path;
}

QString typeKeyOf(const QString &path, int side, qreal dpr)
{
    // The type comes from the name alone, so the file's time does not matter.
    return QStringLiteral("t|%1|%2|").arg(side).arg(dpr) + QFileInfo(path).fileName();
}

template<typename Make>
QPixmap cached(const QString &key, Make make)
{
    if (const QPixmap *hit = cache().object(key))
        return *hit;
    clearAtApplicationExit();
    QPixmap pixmap = make();
    const int cost = std::max(1, int(qint64(pixmap.width()) * pixmap.height() * 4 / 1024));
    cache().insert(key, new QPixmap(pixmap), cost);
    return pixmap;
}

} // namespace

namespace IconCache {

QPixmap ownIcon(const QString &path, int side, qreal dpr)
{
    return cached(keyOf('o', path, side, dpr), [&] { return FileIcons::ownIcon(path, side, dpr); });
}

QPixmap typeIcon(const QString &path, int side, qreal dpr)
{
    return cached(typeKeyOf(path, side, dpr), [&] { return FileIcons::typeIcon(path, side, dpr); });
}

bool contains(const QString &path, int side, qreal dpr)
{
    const QPixmap *own = cache().object(keyOf('o', path, side, dpr));
    if (!own)
        return false;
    return !own->isNull() || cache().contains(typeKeyOf(path, side, dpr));
}

void clear()
{
    cache().clear();
}

} // namespace IconCache
