// SPDX-License-Identifier: MIT
#include "core/entries/EntryLine.h"

namespace {

constexpr QChar kDelimiter = u',';
constexpr QChar kQuote = u'"';

// Reads a quoted field whose opening quote is at *pos; leaves *pos after the
// closing quote, or at the end when the quote is never closed.
QString readQuotedField(QStringView line, qsizetype *pos)
{
    QString field;
    qsizetype i = *pos + 1;
    while (i < line.size()) {
        const QChar ch = line[i];
        if (ch != kQuote) {
            field += ch;
            ++i;
        } else if (i + 1 < line.size() && line[i + 1] == kQuote) {
            field += kQuote;
            i += 2;
        } else {
            ++i;
            break;
        }
    }
    *pos = i;
    return field;
}

bool needsQuoting(const QString &field)
{
    return field.contains(kDelimiter) || field.startsWith(kQuote);
}

QString quoted(const QString &field)
{
    QString doubled = field;
    doubled.replace(kQuote, QStringLiteral("\"\""));
    return kQuote + doubled + kQuote;
}

QString fieldText(const QString &field)
{
    return needsQuoting(field) ? quoted(field) : field;
}

} // namespace

QStringList splitEntryLine(QStringView line)
{
    QStringList fields;
    qsizetype pos = 0;
    while (pos < line.size()) {
        if (line[pos] == kQuote) {
            fields.append(readQuotedField(line, &pos));
        } else {
            qsizetype end = line.indexOf(kDelimiter, pos);
            if (end < 0)
                end = line.size();
            fields.append(line.mid(pos, end - pos).toString());
            pos = end;
        }
        // Anything but a comma here follows a closing quote and simply starts
        // the next field.
        if (pos < line.size() && line[pos] == kDelimiter) {
            if (pos == line.size() - 1)
                fields.append(QString());
            ++pos;
        }
    }
    return fields;
}

QString joinEntryLine(const TRec &rec)
{
    return fieldText(rec.fname) + kDelimiter + fieldText(rec.param) + kDelimiter + fieldText(rec.hint);
}

std::optional<TRec> recFromFields(const QStringList &fields)
{
    if (fields.isEmpty() || fields.size() > 3)
        return std::nullopt;
    TRec rec;
    rec.fname = fields.at(0);
    rec.param = fields.value(1);
    rec.hint = fields.value(2);
    return rec;
}
