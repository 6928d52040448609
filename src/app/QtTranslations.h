#pragma once

class QTranslator;

// Qt's own texts (the file dialog's "Apri", the buttons' "Annulla") in the program's language, which is
// Italian whatever the system's locale: the program's own texts are.
class QtTranslations
{
public:
    // Loads them from Qt's translations folder and installs them; false when they are not installed there.
    static bool install();
};
