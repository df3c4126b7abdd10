// SPDX-License-Identifier: MIT
// The settings file: any bytes read in any locale character set, then the
// full key set written as the launcher writes it. Every line that is not one
// of our keys must come out byte for byte, a second write must change
// nothing, and every value must read back as written.
#include "FuzzCheck.h"

#include "core/files/LocaleCodec.h"
#include "core/settings/IniFile.h"
#include "core/settings/SettingsKeys.h"

#include <QSet>
#include <QVariant>

#include <algorithm>

namespace {

using Values = QList<QVariant>;

Values readAll(const IniFile &ini)
{
    Values values;
    for (const SettingSpec &spec : kSettings) {
        switch (spec.type) {
        case SettingType::Integer:
            values.append(readInt(ini, spec.id));
            break;
        case SettingType::Boolean:
            values.append(readBool(ini, spec.id));
            break;
        case SettingType::Float:
            // The plate keeps its opacity within 0 to 1 in single precision.
            values.append(double(std::clamp(float(readFloat(ini, spec.id)), 0.0f, 1.0f)));
            break;
        case SettingType::String:
            values.append(readString(ini, spec.id));
            break;
        }
    }
    return values;
}

void writeAll(IniFile &ini, const Values &values)
{
    for (const SettingSpec &spec : kSettings) {
        const QVariant &value = values.at(int(spec.id));
        switch (spec.type) {
        case SettingType::Integer:
            writeInt(ini, spec.id, value.toInt());
            break;
        case SettingType::Boolean:
            writeBool(ini, spec.id, value.toBool());
            break;
        case SettingType::Float:
            writeFloat(ini, spec.id, value.toDouble());
            break;
        case SettingType::String:
            writeString(ini, spec.id, value.toString());
            break;
        }
    }
}

struct RawLine {
    QByteArray text; // without its break
    QByteArray eol;
};

// The file's lines as bytes, split on their own: CR LF, LF or CR, one code
// unit at a time.
QList<RawLine> rawLines(QByteArrayView body, qsizetype unit)
{
    const qsizetype end = body.size() - body.size() % unit;
    const auto at = [&](qsizetype i) -> char16_t {
        return unit == 1 ? uchar(body[i]) : char16_t(uchar(body[i]) | uchar(body[i + 1]) << 8);
    };
    QList<RawLine> lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < end;) {
        const char16_t c = at(i);
        if (c != u'\r' && c != u'\n') {
            i += unit;
            continue;
        }
        qsizetype next = i + unit;
        if (c == u'\r' && next < end && at(next) == u'\n')
            next += unit;
        lines.append({body.sliced(start, i - start).toByteArray(), body.sliced(i, next - i).toByteArray()});
        start = i = next;
    }
    if (start < end)
        lines.append({body.sliced(start, end - start).toByteArray(), {}});
    return lines;
}

QString decodeLine(const QByteArray &bytes, IniFile::Encoding encoding)
{
    if (encoding == IniFile::Encoding::Utf16LE) {
        QString text(bytes.size() / 2, Qt::Uninitialized);
        for (qsizetype i = 0; i < text.size(); ++i)
            text[i] = QChar(char16_t(uchar(bytes[2 * i]) | uchar(bytes[2 * i + 1]) << 8));
        return text;
    }
    if (encoding == IniFile::Encoding::Utf8Bom)
        return QString::fromUtf8(bytes);
    // As the file reads it: a line in UTF-8 under another locale is UTF-8.
    return LocaleCodec::decodeChecked(bytes).text;
}

// A line that may hold one of our keys: any "name = value" whose name is
// one of our key names, in whatever section.
bool mayBeOurs(const QString &text)
{
    static const QSet<QString> names = [] {
        QSet<QString> set;
        for (const SettingSpec &spec : kSettings)
            set.insert(QString::fromLatin1(spec.key).toLower());
        return set;
    }();
    const qsizetype equals = text.indexOf(u'=');
    if (equals < 0)
        return false;
    QString name = text.first(equals);
    while (!name.isEmpty() && (name.front() == u' ' || name.front() == u'\t'))
        name.remove(0, 1);
    while (!name.isEmpty() && (name.back() == u' ' || name.back() == u'\t'))
        name.chop(1);
    return names.contains(name.toLower());
}

qsizetype bomSize(IniFile::Encoding encoding)
{
    switch (encoding) {
    case IniFile::Encoding::Utf16LE:
        return 2;
    case IniFile::Encoding::Utf8Bom:
        return 3;
    case IniFile::Encoding::Locale:
        break;
    }
    return 0;
}

void checkOthersKept(const QByteArray &before, IniFile::Encoding encoding, const QByteArray &after)
{
    FUZZ_CHECK(after.startsWith(before.first(bomSize(encoding))));
    const qsizetype unit = encoding == IniFile::Encoding::Utf16LE ? 2 : 1;
    const QList<RawLine> old = rawLines(QByteArrayView(before).sliced(bomSize(encoding)), unit);
    const QList<RawLine> now = rawLines(QByteArrayView(after).sliced(bomSize(encoding)), unit);
    qsizetype j = 0;
    for (const RawLine &line : old) {
        if (mayBeOurs(decodeLine(line.text, encoding)))
            continue;
        // In order, each where it was among the others; only a last line
        // without a break may gain one.
        while (j < now.size() && !(now[j].text == line.text && (now[j].eol == line.eol || line.eol.isEmpty())))
            ++j;
        FUZZ_CHECK(j < now.size());
        ++j;
    }
    // An odd last byte of a UTF-16 file stays too.
    if (unit == 2 && (before.size() - bomSize(encoding)) % 2)
        FUZZ_CHECK(after.endsWith(before.back()));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    LocaleCodec::setCharsetForTesting(fuzz::charsetFor(data[0]));
    const QByteArray before = fuzz::bytesOf(data + 1, size - 1);

    IniFile ini = IniFile::fromBytes(before);
    const IniFile::Encoding encoding = ini.encoding();
    const Values values = readAll(ini);
    writeAll(ini, values);
    const QByteArray after = ini.toBytes();
    if (ini.encoding() == encoding)
        checkOthersKept(before, encoding, after);

    IniFile again = IniFile::fromBytes(after);
    FUZZ_CHECK(again.encoding() == ini.encoding());
    FUZZ_CHECK(readAll(again) == values);
    writeAll(again, values);
    FUZZ_CHECK(again.toBytes() == after);
    return 0;
}
