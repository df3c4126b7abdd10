// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// One entry of a group: the file to open, its parameters and its hint.
struct TRec {
    QString fname;
    QString param;
    QString hint;
    bool operator==(const TRec &) const = default;
};

// Splits an entry line into fields: comma-delimited, double-quoted fields
// with doubled quotes inside, nothing trimmed. An empty line has no field.
QStringList splitEntryLine(QStringView line);

// Builds the line for an entry. A field that holds a comma or begins with a
// double quote is quoted, so splitEntryLine() gives the same three strings
// back; every other field is written as it is.
QString joinEntryLine(const TRec &rec);

// One to three fields make an entry (missing fields empty); any other count
// makes none.
std::optional<TRec> recFromFields(const QStringList &fields);
