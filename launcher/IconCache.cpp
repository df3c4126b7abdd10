// SPDX-License-Identifier: MIT
#include "launcher/IconCache.h"

#include "platform/FileIcons.h"
#include "core/files/FileStamp.h"

#include <QCache>
#include <QCoreApplication>
#include <QFileInfo>
#include <QHashFunctions>

#include <cmath>

namespace {

constexpr int kMaxCostKiB = 64 * 1024;

// A group switch looks up every button's icon: the key is compared and
// hashed, never formatted into a string.
struct Key {
    char kind = 0; // 'o' the file's own icon, 't' its type's
    int side = 0;
    int dprMilli = 0;
    // For own icons, nanoseconds and the inode: a picture rewritten within
    // the same second, or replaced by rename with the same size, is still a
    // new picture. Type icons come from the name alone.
    qint64 mtimeNs = 0;
    qint64 size = 0;
    quint64 inode = 0;
    QString name;
    bool operator==(const Key &) const = default;
};

size_t qHash(const Key &key, size_t seed = 0)
{
    return qHashMulti(seed, key.kind, key.side, key.dprMilli, key.mtimeNs, key.size, key.inode, key.name);
}

QCache<Key, QPixmap> &cache()
{
    static QCache<Key, QPixmap> c(kMaxCostKiB);
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

int dprKey(qreal dpr)
{
    return int(std::lround(dpr * 1000));
}

Key ownKeyOf(const QString &path, const FileStamp &stamp, int side, qreal dpr)
{
    return {'o', side, dprKey(dpr), stamp.exists ? stamp.mtimeNs : -1, stamp.size, stamp.inode, path};
}

Key typeKeyOf(const QString &path, int side, qreal dpr)
{
    return {'t', side, dprKey(dpr), 0, 0, 0, QFileInfo(path).fileName()};
}

template<typename Make>
QPixmap cached(const Key &key, Make make)
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
    return cached(ownKeyOf(path, fileStamp(path), side, dpr), [&] { return FileIcons::ownIcon(path, side, dpr); });
}

QPixmap typeIcon(const QString &path, int side, qreal dpr)
{
    return cached(typeKeyOf(path, side, dpr), [&] { return FileIcons::typeIcon(path, side, dpr); });
}

std::optional<QPixmap> cachedShownIcon(const QString &path, const FileStamp &stamp, int side, qreal dpr)
{
    const QPixmap *own = cache().object(ownKeyOf(path, stamp, side, dpr));
    if (!own)
        return std::nullopt;
    if (!own->isNull())
        return *own;
    if (const QPixmap *type = cache().object(typeKeyOf(path, side, dpr)))
        return *type;
    return std::nullopt;
}

void clear()
{
    cache().clear();
}

} // namespace IconCache
