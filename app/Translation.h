// SPDX-License-Identifier: MIT
#pragma once

#include <QStringList>

class QCoreApplication;

// The interface texts are Japanese in the code; an English translation is
// embedded for users whose desktop speaks English.

// Whether to show English: the first of the user's interface languages
// (QLocale::uiLanguages()) that is English or Japanese decides, and English
// when they name languages but neither of those: a French or German desktop
// reads English more likely than Japanese. Japanese when no language is
// known, and under a C/POSIX locale that names none (`cLocale`), which Qt
// would otherwise report as English.
bool prefersEnglish(const QStringList &uiLanguages, bool cLocale);

// Installs the English translation into `app` when the user's languages ask
// for it.
void installTranslation(QCoreApplication *app);
