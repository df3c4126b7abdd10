// SPDX-License-Identifier: MIT
#include "app/Translation.h"

#include <QCoreApplication>
#include <QLocale>
#include <QTranslator>

bool prefersEnglish(const QStringList &uiLanguages, bool cLocale)
{
    if (cLocale)
        return false;
    for (const QString &language : uiLanguages) {
        const QString code = language.section(u'-', 0, 0).section(u'_', 0, 0).toLower();
        if (code == u"ja")
            return false;
        if (code == u"en")
            return true;
    }
    return !uiLanguages.isEmpty();
}

void installTranslation(QCoreApplication *app)
{
    const QLocale system = QLocale::system();
    // LANGUAGE names languages even where the locale itself is C.
    const bool cLocale = system.language() == QLocale::C && qEnvironmentVariableIsEmpty("LANGUAGE");
    if (!prefersEnglish(system.uiLanguages(), cLocale))
        return;
    auto *translator = new QTranslator(app);
    if (translator->load(QStringLiteral(":/i18n/quillbrook_en.qm")))
        QCoreApplication::installTranslator(translator);
}
