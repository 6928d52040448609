#pragma once

#include "app/ProgressIndicator.h"

#include <QString>

#include <memory>

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

    // A modeless progress window with a bar from 0 to upper; null when none can be shown.
    virtual std::unique_ptr<ProgressIndicator> createProgress(const QString& text, int upper) = 0;

    // Has the main window pack its controls into the configuration (before a download sends it).
    virtual void storeMainWindowConfig() = 0;

    // Handles the user-interface events that are waiting, without waiting for more.
    virtual void processEvents() = 0;
};
