// SPDX-License-Identifier: MIT
// Telling a picture from its first bytes, so that no image plugin is loaded
// to ask about a document.
#include "core/files/PictureFormat.h"

#include <QBuffer>
#include <QImage>
#include <QTest>

using namespace Qt::StringLiterals;

class TestPictureFormat : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void format_data();
    void format();
    void realPicturesAreKnown_data();
    void realPicturesAreKnown();
};

void TestPictureFormat::format_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("format");
    const QByteArray png("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16);
    QTest::newRow("png") << png << u"a.png"_s << QByteArray("png");
    QTest::newRow("png under another name") << png << u"notes.txt"_s << QByteArray("png");
    QTest::newRow("jpeg") << QByteArray("\xff\xd8\xff\xe0\0\x10JFIF", 10) << u"a"_s << QByteArray("jpeg");
    QTest::newRow("gif") << QByteArray("GIF89a\x01\0\x01\0", 10) << u"a"_s << QByteArray("gif");
    QTest::newRow("webp") << QByteArray("RIFF\x24\0\0\0WEBPVP8 ", 16) << u"a"_s << QByteArray("webp");
    QTest::newRow("tiff") << QByteArray("II*\0\x08\0\0\0", 8) << u"a"_s << QByteArray("tiff");
    QTest::newRow("bmp") << QByteArray("BM\x46\0\0\0\0\0\0\0\x36\0", 12) << u"a"_s << QByteArray("bmp");
    QTest::newRow("text starting BM") << QByteArray("BMW owners' club\n") << u"club.txt"_s << QByteArray();
    QTest::newRow("icon") << QByteArray("\0\0\1\0\1\0\x10\x10", 8) << u"a"_s << QByteArray("ico");
    QTest::newRow("cursor") << QByteArray("\0\0\2\0\1\0\x10\x10", 8) << u"a"_s << QByteArray("cur");
    QTest::newRow("icon header with no images") << QByteArray("\0\0\1\0\0\0", 6) << u"a"_s << QByteArray();
    QTest::newRow("svg") << QByteArray("<?xml version=\"1.0\"?>\n<svg xmlns=\"http://www.w3.org/2000/svg\"/>") << u"a"_s
                         << QByteArray("svg");
    QTest::newRow("xpm by its name") << QByteArray("/* XPM */\nstatic char *a[] = {") << u"/p/a.XPM"_s
                                     << QByteArray("xpm");
    QTest::newRow("compressed svg by its name") << QByteArray("\x1f\x8b\x08\0", 4) << u"a.svgz"_s << QByteArray("svgz");
    QTest::newRow("pdf") << QByteArray("%PDF-1.4\n%%EOF\n") << u"a.pdf"_s << QByteArray();
    QTest::newRow("script") << QByteArray("#!/bin/sh\nexit 0\n") << u"run.sh"_s << QByteArray();
    QTest::newRow("empty") << QByteArray() << u"a.png"_s << QByteArray();
    QTest::newRow("a few bytes") << QByteArray("\x89P") << u"a"_s << QByteArray();
    QTest::newRow("dot in a folder name only") << QByteArray("text") << u"/p.xpm/readme"_s << QByteArray();
}

void TestPictureFormat::format()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, name);
    QFETCH(QByteArray, format);
    QCOMPARE(pictureFormat(content, name), format);
}

void TestPictureFormat::realPicturesAreKnown_data()
{
    QTest::addColumn<QByteArray>("written");
    QTest::newRow("png") << QByteArray("png");
    QTest::newRow("bmp") << QByteArray("bmp");
    QTest::newRow("ico") << QByteArray("ico");
    QTest::newRow("jpeg") << QByteArray("jpeg");
}

// Pictures as Qt writes them are told as what they are, and Qt reads them
// back as that format alone.
void TestPictureFormat::realPicturesAreKnown()
{
    QFETCH(QByteArray, written);
    QImage image(16, 16, QImage::Format_ARGB32);
    image.fill(Qt::red);
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, written.constData()))
        QSKIP("Qt cannot write this format here");
    QCOMPARE(pictureFormat(buffer.data().left(1024), u"picture"_s), written);
    QImage back;
    QVERIFY(back.loadFromData(buffer.data(), written.constData()));
    QCOMPARE(back.size(), QSize(16, 16));
}

QTEST_GUILESS_MAIN(TestPictureFormat)
#include "tst_pictureformat.moc"
