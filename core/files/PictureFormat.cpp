// SPDX-License-Identifier: MIT
#include "core/files/PictureFormat.h"

#include <array>
#include <string_view>

namespace {

bool startsWith(const QByteArray &content, std::string_view prefix, qsizetype at = 0)
{
    return content.size() >= at + qsizetype(prefix.size())
           && std::string_view(content.constData() + at, prefix.size()) == prefix;
}

quint16 littleEndian16(const QByteArray &content, qsizetype at)
{
    return quint16(uchar(content[at])) | quint16(uchar(content[at + 1])) << 8;
}

QByteArray fromContent(const QByteArray &content)
{
    using namespace std::string_view_literals;
    if (startsWith(content, "\x89PNG\r\n\x1a\n"sv))
        return "png";
    if (startsWith(content, "\xff\xd8\xff"sv))
        return "jpeg";
    if (startsWith(content, "GIF87a"sv) || startsWith(content, "GIF89a"sv))
        return "gif";
    if (startsWith(content, "RIFF"sv) && startsWith(content, "WEBP"sv, 8))
        return "webp";
    if (startsWith(content, "II*\0"sv) || startsWith(content, "MM\0*"sv))
        return "tiff";
    // "BM", then the size and two reserved words that are zero.
    if (startsWith(content, "BM"sv) && startsWith(content, "\0\0\0\0"sv, 6))
        return "bmp";
    // A reserved zero word, the type (1 icon, 2 cursor), a count of images.
    if (content.size() >= 6 && littleEndian16(content, 0) == 0 && littleEndian16(content, 4) != 0) {
        const quint16 type = littleEndian16(content, 2);
        if (type == 1)
            return "ico";
        if (type == 2)
            return "cur";
    }
    // An SVG document names its root element near the start.
    if (content.left(1024).contains("<svg"))
        return "svg";
    return {};
}

} // namespace

QByteArray pictureFormat(const QByteArray &content, const QString &fileName)
{
    QByteArray format = fromContent(content);
    if (!format.isEmpty())
        return format;
    // Formats without a signature of their own, and compressed SVG.
    static constexpr std::array kNamedOnly = {"xpm",  "xbm", "pbm",  "pgm",  "ppm",  "tga",  "wbmp",
                                              "icns", "jp2", "heic", "heif", "avif", "svgz", "jxl"};
    const qsizetype dot = fileName.lastIndexOf(QLatin1Char('.'));
    if (dot < 0 || fileName.indexOf(QLatin1Char('/'), dot) >= 0)
        return {};
    QByteArray suffix = fileName.mid(dot + 1).toLower().toLatin1();
    for (const char *named : kNamedOnly) {
        if (suffix == named)
            return suffix;
    }
    return {};
}
