// SPDX-License-Identifier: MIT
#include "launcher/GlowImages.h"

#include <QCache>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

// The mean of a box of pixels whose sum is `sum`, by the window's
// reciprocal in 16.16 fixed point.
uchar boxMean(int sum, int reciprocal)
{
    return uchar(std::min(255, (sum * reciprocal + (1 << 15)) >> 16));
}

// One box pass along every row, the window's ends clamped to the row's
// first and last pixel. Each sum is the difference of two running totals
// over the padded row, so no sum waits for the one before it.
void rowPass(QImage &alpha8, int r, std::vector<int> &totals)
{
    const int count = alpha8.width();
    const int reciprocal = (1 << 16) / (2 * r + 1);
    totals.resize(size_t(count + 2 * r + 2));
    for (int y = 0; y < alpha8.height(); ++y) {
        uchar *line = alpha8.scanLine(y);
        int run = 0;
        size_t j = 0;
        totals[j++] = 0;
        for (int k = 0; k < r; ++k)
            totals[j++] = run += line[0];
        for (int k = 0; k < count; ++k)
            totals[j++] = run += line[k];
        for (int k = 0; k <= r; ++k)
            totals[j++] = run += line[count - 1];
        // Restricted: a byte store could otherwise alias the totals, and
        // the loop would not be vectorised.
        const int *__restrict starts = totals.data();
        const int *__restrict ends = starts + 2 * r + 1;
        uchar *__restrict out = line;
        for (int i = 0; i < count; ++i)
            out[i] = boxMean(ends[i] - starts[i], reciprocal);
    }
}

// The same down every column, walked a row at a time with a sum per column:
// column by column, each pixel would be a cache miss of its own.
void columnPass(QImage &alpha8, int r, std::vector<int> &sums, std::vector<uchar> &source)
{
    const int width = alpha8.width();
    const int height = alpha8.height();
    const qsizetype stride = alpha8.bytesPerLine();
    const int reciprocal = (1 << 16) / (2 * r + 1);
    source.assign(alpha8.constBits(), alpha8.constBits() + stride * height);
    auto row = [&](int y) { return source.data() + stride * std::clamp(y, 0, height - 1); };
    sums.assign(size_t(width), 0);
    for (int i = -r; i <= r; ++i) {
        const uchar *in = row(i);
        for (int x = 0; x < width; ++x)
            sums[size_t(x)] += in[x];
    }
    int *__restrict sum = sums.data();
    for (int y = 0; y < height; ++y) {
        uchar *__restrict out = alpha8.scanLine(y);
        const uchar *__restrict entering = row(y + r + 1);
        const uchar *__restrict leaving = row(y - r);
        for (int x = 0; x < width; ++x) {
            out[x] = boxMean(sum[x], reciprocal);
            sum[x] += entering[x] - leaving[x];
        }
    }
}

} // namespace

QImage tintedAlpha(const QImage &alpha8, QColor color)
{
    // The colour scaled by each pixel's coverage, rounded as a painter's
    // "source in" fill rounds it; there are only 256 coverages.
    const QRgb tint = qPremultiply(color.rgba());
    auto scaled = [](int channel, int a) {
        const int t = channel * a;
        return (t + (t >> 8) + 0x80) >> 8;
    };
    QRgb byCoverage[256];
    for (int a = 0; a < 256; ++a)
        byCoverage[a] = qRgba(scaled(qRed(tint), a), scaled(qGreen(tint), a), scaled(qBlue(tint), a),
                              scaled(qAlpha(tint), a));
    const QImage coverage = alpha8.format() == QImage::Format_Alpha8 ? alpha8
                                                                     : alpha8.convertToFormat(QImage::Format_Alpha8);
    QImage out(alpha8.size(), QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < out.height(); ++y) {
        const uchar *in = coverage.constScanLine(y);
        auto *line = reinterpret_cast<QRgb *>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x)
            line[x] = byCoverage[in[x]];
    }
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
        .arg(kind)
        .arg(size.width())
        .arg(size.height())
        .arg(corner)
        .arg(color.rgba())
        .arg(spread);
}

} // namespace

void blurAlpha(QImage &alpha8, int radius)
{
    if (radius <= 0 || alpha8.isNull())
        return;
    Q_ASSERT(alpha8.format() == QImage::Format_Alpha8);
    const int r = std::max(1, radius / 2);
    std::vector<int> sums;
    std::vector<uchar> source;
    for (int pass = 0; pass < 3; ++pass) {
        rowPass(alpha8, r, sums);
        columnPass(alpha8, r, sums, source);
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

QImage roundedShape(QSize size, qreal radius)
{
    QImage shape(size, QImage::Format_ARGB32_Premultiplied);
    shape.fill(Qt::transparent);
    QPainter p(&shape);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::black);
    p.drawRoundedRect(QRectF(shape.rect()), radius, radius);
    return shape;
}

RoundedShadow::RoundedShadow(qreal cornerRadius, int blur, QColor color)
    : m_cornerRadius(cornerRadius)
    , m_blur(blur)
    , m_color(color)
    // Room for the corner, its antialiased edge and the blur's reach on
    // either side of one straight pixel in the middle.
    , m_side(2 * (int(std::ceil(cornerRadius)) + 2 + 3 * std::max(1, blur / 2)) + 1)
    , m_small(softShadow(roundedShape(QSize(m_side, m_side), cornerRadius), color, blur))
{
}

void RoundedShadow::paint(QPainter &painter, const QRect &shape) const
{
    const QPoint origin = shape.topLeft() - QPoint(m_blur, m_blur);
    if (shape.width() < m_side || shape.height() < m_side) {
        painter.drawImage(origin, softShadow(roundedShape(shape.size(), m_cornerRadius), m_color, m_blur));
        return;
    }
    // Three columns and three rows: the corners as they are, the single
    // middle column and row stretched to the shape's size.
    const int edge = m_small.width() / 2;
    const int widths[3] = {edge, shape.width() + 2 * m_blur - 2 * edge, edge};
    const int heights[3] = {edge, shape.height() + 2 * m_blur - 2 * edge, edge};
    const int sourceX[3] = {0, edge, edge + 1};
    const int sourceY[3] = {0, edge, edge + 1};
    const int sourceW[3] = {edge, 1, edge};
    int y = origin.y();
    for (int row = 0; row < 3; ++row) {
        int x = origin.x();
        for (int column = 0; column < 3; ++column) {
            painter.drawImage(QRect(x, y, widths[column], heights[row]), m_small,
                              QRect(sourceX[column], sourceY[row], sourceW[column], sourceW[row]));
            x += widths[column];
        }
        y += heights[row];
    }
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
