// SPDX-License-Identifier: MIT
#include "launcher/GlowImages.h"

#include <QCache>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <vector>

namespace {

void boxPass(uchar *line, int count, qsizetype stride, int r, std::vector<int> &tmp)
{
    if (count <= 0 || r <= 0)
        return;
    tmp.resize(size_t(count));
    for (int i = 0; i < count; ++i)
        tmp[size_t(i)] = line[i * stride];
    // Dividing by the window's width as a multiplication, in 16.16 fixed point.
    const int reciprocal = (1 << 16) / (2 * r + 1);
    int sum = 0;
    for (int i = -r; i <= r; ++i)
        sum += tmp[size_t(std::clamp(i, 0, count - 1))];
    for (int i = 0; i < count; ++i) {
        line[i * stride] = uchar(std::min(255, (sum * reciprocal + (1 << 15)) >> 16));
        sum += tmp[size_t(std::min(i + r + 1, count - 1))];
        sum -= tmp[size_t(std::max(i - r, 0))];
    }
}

} // namespace

QImage tintedAlpha(const QImage &alpha8, QColor color)
{
    QImage out(alpha8.size(), QImage::Format_ARGB32_Premultiplied);
    out.fill(Qt::transparent);
    QPainter p(&out);
    p.drawImage(0, 0, alpha8.convertToFormat(QImage::Format_ARGB32_Premultiplied));
    p.setCompositionMode(QPainter::CompositionMode_SourceIn);
    p.fillRect(out.rect(), color);
    return out;
}

namespace {

QPainterPath roundedPath(QRectF rect, qreal radius)
{
    QPainterPath path;
    path.addRoundedRect(rect, radius, radius);
    return path;
}

using GlowKey = QString;
QCache<GlowKey, QImage> &glowCache()
{
    static QCache<GlowKey, QImage> cache(64);
    return cache;
}

GlowKey keyOf(char kind, QSize size, qreal corner, QColor color, int spread)
{
    return QStringLiteral("%1:%2x%3:%4:%5:%6")
        .arg(kind).arg(size.width()).arg(size.height()).arg(corner).arg(color.rgba()).arg(spread);
}

} // namespace

void blurAlpha(QImage &alpha8, int radius)
{
    if (radius <= 0 || alpha8.isNull())
        return;
    Q_ASSERT(alpha8.format() == QImage::Format_Alpha8);
    const int r = std::max(1, radius / 2);
    std::vector<int> tmp;
    for (int pass = 0; pass < 3; ++pass) {
        for (int y = 0; y < alpha8.height(); ++y)
            boxPass(alpha8.scanLine(y), alpha8.width(), 1, r, tmp);
        uchar *bits = alpha8.bits();
        for (int x = 0; x < alpha8.width(); ++x)
            boxPass(bits + x, alpha8.height(), alpha8.bytesPerLine(), r, tmp);
    }
}

QImage softShadow(const QImage &source, QColor color, int radius)
{
    QImage alpha(source.size() + QSize(2 * radius, 2 * radius), QImage::Format_Alpha8);
    alpha.fill(0);
    {
        QPainter p(&alpha);
        p.drawImage(radius, radius, source);
    }
    blurAlpha(alpha, radius);
    return tintedAlpha(alpha, color);
}

QImage outerGlowImage(QSize size, qreal cornerRadius, QColor color, int spread)
{
    const GlowKey key = keyOf('o', size, cornerRadius, color, spread);
    if (QImage *cached = glowCache().object(key))
        return *cached;
    QImage alpha(size + QSize(2 * spread, 2 * spread), QImage::Format_Alpha8);
    alpha.fill(0);
    {
        QPainter p(&alpha);
        p.setRenderHint(QPainter::Antialiasing);
        p.fillPath(roundedPath(QRectF(QPointF(spread, spread), QSizeF(size)), cornerRadius), Qt::black);
    }
    blurAlpha(alpha, spread);
    // A glow is brighter than a shadow: lift the faint tail.
    for (int y = 0; y < alpha.height(); ++y) {
        uchar *line = alpha.scanLine(y);
        for (int x = 0; x < alpha.width(); ++x)
            line[x] = uchar(std::min(255, line[x] * 2));
    }
    QImage out = tintedAlpha(alpha, color);
    glowCache().insert(key, new QImage(out));
    return out;
}

QImage innerGlowImage(QSize size, qreal cornerRadius, QColor color, int spread)
{
    const GlowKey key = keyOf('i', size, cornerRadius, color, spread);
    if (QImage *cached = glowCache().object(key))
        return *cached;
    const QPainterPath shape = roundedPath(QRectF(QPointF(0, 0), QSizeF(size)), cornerRadius);
    // Blur the outside of the shape inward (with a margin of outside all
    // round), then keep only what falls inside.
    QImage outside(size + QSize(2 * spread, 2 * spread), QImage::Format_ARGB32_Premultiplied);
    outside.fill(Qt::black);
    {
        QPainter p(&outside);
        p.setRenderHint(QPainter::Antialiasing);
        p.setCompositionMode(QPainter::CompositionMode_Source);
        p.translate(spread, spread);
        p.fillPath(shape, Qt::transparent);
    }
    QImage alpha = outside.convertToFormat(QImage::Format_Alpha8);
    blurAlpha(alpha, spread);
    QImage out = tintedAlpha(alpha.copy(QRect(QPoint(spread, spread), size)), color);
    {
        QImage clip(size, QImage::Format_ARGB32_Premultiplied);
        clip.fill(Qt::transparent);
        QPainter p(&clip);
        p.setRenderHint(QPainter::Antialiasing);
        p.fillPath(shape, Qt::black);
        p.setCompositionMode(QPainter::CompositionMode_SourceIn);
        p.drawImage(0, 0, out);
        p.end();
        out = clip;
    }
    glowCache().insert(key, new QImage(out));
    return out;
}
