#pragma once

#include "app/AppUi.h"

#include <QStringList>

#include <functional>

// Stands in for the dialogs: remembers the message boxes and runs the main window as a plain function.
class RecordingUi : public AppUi
{
public:
    void messageBox(const QString& text, MessageIcon) override { messages.append(text); }
    void runMainWindow(CPlayerApp& app) override
    {
        if (mainWindow) {
            mainWindow(app);
        }
    }

    QStringList messages;
    std::function<void(CPlayerApp&)> mainWindow;
};
