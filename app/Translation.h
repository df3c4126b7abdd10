// SPDX-License-Identifier: MIT
#pragma once

#include <QStringList>

class QCoreApplication;

// The interface texts are Japanese in the code; an English translation is
// embedded for users whose desktop speaks English.

// Whether to show English: the first of the user's interface languages
// (QLocale::uiLanguages()) that is English or Japanese decides. Japanese when
// neither is listed, and under a C/POSIX locale that names no language
// (`cLocale`), which Qt would otherwise report as English.
bool prefersEnglish(const QStringList &uiLanguages, bool cLocale);

// Installs the English translation into `app` when the user's languages ask
// for it.
void installTranslation(QCoreApplication *app);
