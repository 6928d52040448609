#pragma once

#include <QString>

class CPlayerApp;

enum class MessageIcon
{
    Information,
    Warning,
    Error,
};

// What the application core needs from the user interface. The widget library implements it with real
// dialogs; tests put a recording fake in its place.
class AppUi
{
public:
    virtual ~AppUi() = default;

    // A modal message box with an OK button, the application's name as its caption.
    virtual void messageBox(const QString& text, MessageIcon icon) = 0;

    // Creates the main window, runs it modally until the user closes it, packs its last state into the
    // configuration and deletes it again.
    virtual void runMainWindow(CPlayerApp& app) = 0;
};
