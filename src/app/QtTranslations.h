#pragma once

#include <QStringList>

// The languages the program speaks: its texts are written in Italian, and an English catalogue is built in.
enum class UiLanguage
{
    Italian,
    English
};

// The program's texts and Qt's own (the file dialog's "Apri", the buttons' "Annulla") in the language of the
// user's system: English for an English locale, Italian for the rest.
class QtTranslations
{
public:
    // The language for the user's languages, most wanted first (QLocale::uiLanguages()): the first one the
    // program speaks; Italian for the C locale and when none of them has a catalogue.
    static UiLanguage languageFor(const QStringList& uiLanguages);
    static UiLanguage systemLanguage();

    // The program's own catalogue in that language, built into it: its texts and plural forms ("1 brano",
    // "2 brani"). False only when the build left it out. A later call with another language replaces it.
    static bool installProgramTexts(UiLanguage language);
    // The program's catalogue and Qt's own, from Qt's translations folder, in the system's language; false
    // when Qt's are not installed there (the program works on with Qt's English).
    static bool install();
    static bool install(UiLanguage language);
};
