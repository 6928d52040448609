#pragma once

#include "app/AppUi.h"

#include <QStringList>

#include <deque>
#include <functional>
#include <vector>

// Stands in for the dialogs: remembers the message boxes and what the progress window was told, and runs
// the main window as a plain function.
class RecordingUi : public AppUi
{
public:
    struct Progress
    {
        QString text;
        int upper = 0;
        std::vector<int> positions;
        bool open = false;
    };

    void messageBox(const QString& text, MessageIcon) override
    {
        messages.append(text);
        if (onMessage) {
            onMessage(text);
        }
    }
    void runMainWindow(CPlayerApp& app) override
    {
        if (mainWindow) {
            mainWindow(app);
        }
    }
    std::unique_ptr<ProgressIndicator> createProgress(const QString& text, int upper) override;
    void processEvents() override
    {
        ++eventPumps;
        if (onEvents) {
            onEvents();
        }
    }

    QStringList messages;
    std::function<void(const QString&)> onMessage;
    std::function<void(CPlayerApp&)> mainWindow;
    std::function<void()> onEvents;
    // A deque: a progress window refers to its entry, which must not move.
    std::deque<Progress> progress;
    int eventPumps = 0;
};
