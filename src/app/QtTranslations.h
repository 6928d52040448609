#pragma once

// The program's texts and Qt's own (the file dialog's "Apri", the buttons' "Annulla") in the program's
// language, which is Italian whatever the system's locale.
class QtTranslations
{
public:
    // The program's own catalogue, built into it: the Italian plural forms ("1 brano", "2 brani"). False
    // only when the build left it out.
    static bool installProgramTexts();
    // The program's catalogue and Qt's, from Qt's translations folder; false when Qt's are not installed
    // there.
    static bool install();
};
