#include "app/QtTranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace {

QLocale localeOf(UiLanguage language)
{
    return language == UiLanguage::English ? QLocale(QLocale::English)
                                           : QLocale(QLocale::Italian, QLocale::Italy);
}

// Replaces what the translator held: a program that switches language must not keep the other's texts
// under the new ones. A catalogue that loads but holds nothing (Qt's English one: its texts are English
// already) is no failure, and there is nothing to install.
bool reload(QTranslator& translator, const auto& load)
{
    QCoreApplication::removeTranslator(&translator);
    return load() && (translator.isEmpty() || QCoreApplication::installTranslator(&translator));
}

} // namespace

UiLanguage QtTranslations::languageFor(const QStringList& uiLanguages)
{
    for (const QString& name : uiLanguages) {
        // The C and POSIX locales are no choice of language: the program's own texts are the Italian ones.
        if (name == QLatin1String("C") || name == QLatin1String("POSIX")) {
            return UiLanguage::Italian;
        }
        switch (QLocale(name).language()) {
        case QLocale::English:
            return UiLanguage::English;
        case QLocale::Italian:
            return UiLanguage::Italian;
        default:
            break; // a language without a catalogue: the next one the user named
        }
    }
    return UiLanguage::Italian;
}

UiLanguage QtTranslations::systemLanguage()
{
    return languageFor(QLocale::system().uiLanguages());
}

bool QtTranslations::installProgramTexts(UiLanguage language)
{
    // Lives as long as the application: a removed translator would take the texts with it.
    static QTranslator program;
    return reload(program, [&] {
        return program.load(localeOf(language), QStringLiteral("zoffino"), QStringLiteral("_"),
                            QStringLiteral(":/i18n"));
    });
}

bool QtTranslations::install()
{
    return install(systemLanguage());
}

bool QtTranslations::install(UiLanguage language)
{
    const bool program = installProgramTexts(language);
    static QTranslator qt;
    return reload(qt,
                  [&] {
                      return qt.load(localeOf(language), QStringLiteral("qtbase"), QStringLiteral("_"),
                                     QLibraryInfo::path(QLibraryInfo::TranslationsPath));
                  }) &&
           program;
}
