// SPDX-License-Identifier: MIT
#include "platform/FileIcons.h"

#include "core/entries/DesktopEntry.h"
#include "core/files/PictureFormat.h"
#include "core/files/RegularFile.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QIcon>
#include <QImageReader>
#include <QMimeDatabase>
#include <QStandardPaths>

namespace {

constexpr qint64 kMaxDesktopEntryBytes = 1024 * 1024;
constexpr qint64 kPictureHeadBytes = 1024;

QPixmap fitted(const QImage &image, int side, qreal dpr)
{
    if (image.isNull())
        return {};
    const int px = std::max(1, int(side * dpr));
    QImage scaled = image.scaled(px, px, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    QPixmap pixmap = QPixmap::fromImage(scaled);
    pixmap.setDevicePixelRatio(dpr);
    return pixmap;
}

QPixmap fromIcon(const QIcon &icon, int side, qreal dpr)
{
    if (icon.isNull())
        return {};
    // Ask for the device size so the theme's largest fitting size is used.
    const int px = std::max(1, int(side * dpr));
    QPixmap pixmap = icon.pixmap(QSize(px, px));
    if (pixmap.isNull())
        return {};
    return fitted(pixmap.toImage(), side, dpr);
}

QPixmap themeIcon(const QString &name, int side, qreal dpr)
{
    if (name.isEmpty() || !QIcon::hasThemeIcon(name))
        return {};
    return fromIcon(QIcon::fromTheme(name), side, dpr);
}

QPixmap imageFile(const QString &path, int side, qreal dpr)
{
    // Read without blocking and decoded from memory: some files that look
    // regular (in /proc) block a reader forever.
    // The beginning tells a picture; a document is not read further.
    const RegularFileRead head = readRegularFile(path, kPictureHeadBytes);
    if (head.status != RegularFileRead::Read && head.status != RegularFileRead::Partial)
        return {};
    const QByteArray format = pictureFormat(head.bytes, path);
    if (format.isEmpty())
        return {};
    const RegularFileRead file = head.status == RegularFileRead::Read
                                     ? head
                                     : readRegularFile(path, FileIcons::kMaxImageBytes);
    if (file.status != RegularFileRead::Read)
        return {};
    QBuffer buffer;
    buffer.setData(file.bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, format);
    reader.setAutoDetectImageFormat(false);
    if (!reader.canRead())
        return {};
    if (format == "ico" || format == "cur") { // several sizes: let QIcon pick the best
        QIcon icon;
        do {
            icon.addPixmap(QPixmap::fromImage(reader.read()));
        } while (reader.jumpToNextImage());
        return fromIcon(icon, side, dpr);
    }
    const QSize full = reader.size();
    const int px = std::max(1, int(side * dpr));
    if (full.isValid() && (full.width() > px || full.height() > px))
        reader.setScaledSize(full.scaled(px, px, Qt::KeepAspectRatio));
    return fitted(reader.read(), side, dpr);
}

QPixmap desktopEntryIconPixmap(const QString &path, int side, qreal dpr)
{
    const RegularFileRead file = readRegularFile(path, kMaxDesktopEntryBytes);
    if (file.status != RegularFileRead::Read)
        return {};
    const QString icon = desktopEntryIcon(file.bytes);
    if (icon.isEmpty())
        return {};
    if (QDir::isAbsolutePath(icon))
        return imageFile(icon, side, dpr);
    QPixmap pixmap = themeIcon(icon, side, dpr);
    if (pixmap.isNull()) {
        // Some entries name the icon with its file's extension.
        const QString bare = QFileInfo(icon).completeBaseName();
        if (bare != icon)
            pixmap = themeIcon(bare, side, dpr);
    }
    return pixmap;
}

} // namespace

namespace FileIcons {

void ensureIconTheme()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    // Without a desktop's platform theme Qt looks for themes in its
    // resources only: add the system's icon folders.
    QStringList paths = QIcon::themeSearchPaths();
    const QStringList system = QStandardPaths::locateAll(QStandardPaths::GenericDataLocation, QStringLiteral("icons"),
                                                         QStandardPaths::LocateDirectory);
    for (const QString &dir : system) {
        if (!paths.contains(dir))
            paths.append(dir);
    }
    QIcon::setThemeSearchPaths(paths);
    const QString current = QIcon::themeName();
    if (current.isEmpty() || current == QLatin1String("hicolor")) {
        for (const QString &dir : QIcon::themeSearchPaths()) {
            if (QFileInfo::exists(dir + QLatin1String("/Adwaita/index.theme"))) {
                QIcon::setThemeName(QStringLiteral("Adwaita"));
                break;
            }
        }
    }
    if (QIcon::fallbackThemeName().isEmpty())
        QIcon::setFallbackThemeName(QStringLiteral("hicolor"));
    QStringList fallback = QIcon::fallbackSearchPaths();
    if (!fallback.contains(QLatin1String("/usr/share/pixmaps")))
        fallback.append(QStringLiteral("/usr/share/pixmaps"));
    QIcon::setFallbackSearchPaths(fallback);
}

QPixmap ownIcon(const QString &path, int side, qreal dpr)
{
    ensureIconTheme();
    const QFileInfo info(path);
    if (info.isDir())
        return themeIcon(QStringLiteral("folder"), side, dpr);
    if (!info.isFile())
        return {};
    if (path.endsWith(QLatin1String(".desktop"))) {
        QPixmap pixmap = desktopEntryIconPixmap(path, side, dpr);
        if (!pixmap.isNull())
            return pixmap;
    }
    QPixmap pixmap = imageFile(path, side, dpr);
    if (!pixmap.isNull())
        return pixmap;
    if (info.isExecutable())
        return themeIcon(QStringLiteral("application-x-executable"), side, dpr);
    return {};
}

QPixmap typeIcon(const QString &path, int side, qreal dpr)
{
    ensureIconTheme();
    static const QMimeDatabase db;
    const QMimeType type = db.mimeTypeForFile(path, QMimeDatabase::MatchExtension);
    for (const QString &name : {type.iconName(), type.genericIconName(), QStringLiteral("application-x-generic")}) {
        QPixmap pixmap = themeIcon(name, side, dpr);
        if (!pixmap.isNull())
            return pixmap;
    }
    return fromIcon(QIcon(QStringLiteral(":/icons/file.svg")), side, dpr);
}

} // namespace FileIcons
