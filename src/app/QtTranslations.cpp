#include "app/QtTranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

bool QtTranslations::installProgramTexts()
{
    // Lives as long as the application: a removed translator would take the texts with it.
    static QTranslator program;
    if (!program.isEmpty()) {
        return true;
    }
    return program.load(QStringLiteral(":/i18n/zoffino_it.qm")) &&
           QCoreApplication::installTranslator(&program);
}

bool QtTranslations::install()
{
    const bool program = installProgramTexts();
    static QTranslator qt;
    if (!qt.isEmpty()) {
        return program;
    }
    if (!qt.load(QLocale(QLocale::Italian, QLocale::Italy), QStringLiteral("qtbase"), QStringLiteral("_"),
                 QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        return false;
    }
    return QCoreApplication::installTranslator(&qt) && program;
}
