// SPDX-License-Identifier: MIT
// The shadows' blur and the plate's shadow drawn from a small image give
// the pixels the plain way of making them gives.
#include "launcher/GlowImages.h"

#include <QPainter>
#include <QRandomGenerator>
#include <QTest>

#include <algorithm>
#include <vector>

class TestGlowImages : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void blurMatchesPlainBoxPasses_data();
    void blurMatchesPlainBoxPasses();
    void roundedShadowMatchesWholeShadow_data();
    void roundedShadowMatchesWholeShadow();
    void blackCoverageDrawsAsTintedBlack_data();
    void blackCoverageDrawsAsTintedBlack();
};

namespace {

// One pass of the box, pixel by pixel, clamped at the ends.
void plainPass(QImage &image, int r, bool alongRows)
{
    const QImage source = image.copy();
    const int n = alongRows ? image.width() : image.height();
    const int reciprocal = (1 << 16) / (2 * r + 1);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            int sum = 0;
            for (int k = -r; k <= r; ++k) {
                const int i = std::clamp((alongRows ? x : y) + k, 0, n - 1);
                sum += alongRows ? source.constScanLine(y)[i] : source.constScanLine(i)[x];
            }
            image.scanLine(y)[x] = uchar(std::min(255, (sum * reciprocal + (1 << 15)) >> 16));
        }
    }
}

} // namespace

void TestGlowImages::blurMatchesPlainBoxPasses_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<int>("radius");
    QTest::newRow("the bar's shadow") << QSize(60, 20) << 3;
    QTest::newRow("a wide glow") << QSize(40, 30) << 12;
    QTest::newRow("wider than the image") << QSize(7, 5) << 30;
    QTest::newRow("one pixel") << QSize(1, 1) << 4;
    QTest::newRow("one row") << QSize(33, 1) << 5;
}

void TestGlowImages::blurMatchesPlainBoxPasses()
{
    QFETCH(QSize, size);
    QFETCH(int, radius);
    QImage image(size, QImage::Format_Alpha8);
    QRandomGenerator random(size.width() * 131 + radius);
    for (int y = 0; y < size.height(); ++y) {
        for (int x = 0; x < size.width(); ++x)
            image.scanLine(y)[x] = random.bounded(3) == 0 ? 255 : uchar(random.bounded(256));
    }
    QImage expected = image.copy();
    const int r = std::max(1, radius / 2);
    for (int pass = 0; pass < 3; ++pass) {
        plainPass(expected, r, true);
        plainPass(expected, r, false);
    }
    blurAlpha(image, radius);
    QCOMPARE(image, expected);
}

void TestGlowImages::roundedShadowMatchesWholeShadow_data()
{
    QTest::addColumn<QSize>("size");
    QTest::newRow("the plate") << QSize(490, 90);
    QTest::newRow("tall and thin") << QSize(30, 200);
    QTest::newRow("wide and low") << QSize(800, 30);
    QTest::newRow("smaller than the slices") << QSize(12, 12);
    QTest::newRow("empty") << QSize(0, 0);
}

void TestGlowImages::roundedShadowMatchesWholeShadow()
{
    QFETCH(QSize, size);
    constexpr qreal corner = 5;
    constexpr int blur = 3;
    // A fractional place, as the shadow's offset gives.
    const QPoint at = (QPointF(10, 8) + QPointF(2.12, 2.12)).toPoint();
    QImage whole(size + QSize(40, 40), QImage::Format_ARGB32_Premultiplied);
    whole.fill(Qt::transparent);
    QImage sliced = whole.copy();
    {
        QPainter p(&whole);
        p.setOpacity(0.6);
        if (!size.isEmpty())
            p.drawImage(at - QPoint(blur, blur), softShadow(roundedShape(size, corner), Qt::black, blur));
    }
    {
        QPainter p(&sliced);
        p.setOpacity(0.6);
        RoundedShadow(corner, blur, Qt::black).paint(p, QRect(at, size));
    }
    QCOMPARE(sliced, whole);
}

// The icon layer draws an opaque black shadow from its coverage, keeping no
// tinted copy: the pixels must be those of the tinted image.
void TestGlowImages::blackCoverageDrawsAsTintedBlack_data()
{
    QTest::addColumn<qreal>("opacity");
    QTest::addColumn<QColor>("under");

    QTest::newRow("shadow's opacity, transparent") << 0.25 << QColor(Qt::transparent);
    QTest::newRow("faded, over the plate") << 0.8 * 0.25 << QColor(0xF0, 0xF8, 0xFF, 204);
    QTest::newRow("whole, over white") << 1.0 << QColor(Qt::white);
}

void TestGlowImages::blackCoverageDrawsAsTintedBlack()
{
    QFETCH(qreal, opacity);
    QFETCH(QColor, under);
    QImage coverage(64, 16, QImage::Format_Alpha8);
    for (int y = 0; y < coverage.height(); ++y) {
        for (int x = 0; x < coverage.width(); ++x)
            coverage.scanLine(y)[x] = uchar((x * 4 + y * 17) & 0xFF);
    }
    const auto drawn = [&](const QImage &shadow) {
        QImage out(coverage.size() + QSize(6, 6), QImage::Format_ARGB32_Premultiplied);
        out.fill(under);
        QPainter p(&out);
        p.setOpacity(opacity);
        p.drawImage(QPointF(2.12, 2.12), shadow);
        return out;
    };
    QCOMPARE(drawn(coverage), drawn(tintedAlpha(coverage, Qt::black)));
}

QTEST_MAIN(TestGlowImages)
#include "tst_glowimages.moc"
