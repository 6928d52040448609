#pragma once

#include "app/AppUi.h"

// The user interface of the program: message boxes and the main window as real dialogs.
class WidgetAppUi : public AppUi
{
public:
    void messageBox(const QString& text, MessageIcon icon) override;
    void runMainWindow(CPlayerApp& app) override;
};
