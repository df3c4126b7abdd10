// SPDX-License-Identifier: MIT
#pragma once

#include <QStringList>
#include <QStringView>

// Splits an entry's parameters into the words a program receives, as a
// POSIX shell splits them but expanding nothing: blanks separate words,
// balanced double or single quotes group, a backslash takes the next
// character as it is (inside double quotes only before " \ $ `). A quote
// without its partner is an ordinary character, so "it's here" is two
// words rather than an error.
QStringList splitParameterWords(QStringView params);
