#pragma once

#include "app/AppUi.h"

#include <QStringList>

#include <deque>
#include <functional>
#include <thread>
#include <vector>

// Stands in for the dialogs: remembers the message boxes and what the progress window was told, and runs
// the main window as a plain function.
class RecordingUi : public AppUi
{
public:
    struct Progress
    {
        QString text;
        QString detail;
        int upper = 0;
        std::vector<int> positions;
        bool open = false;
        // The user asks to stop once the bar has moved this often; negative: never.
        int stopAfter = -1;
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
    void deviceChanged(bool present) override { deviceChanges.push_back(present); }
    std::unique_ptr<ProgressIndicator> createProgress(const QString& text, int upper) override;
    void processEvents() override
    {
        ++eventPumps;
        if (onEvents) {
            onEvents();
        }
    }

    bool ask(const QString& text, MessageIcon, const QString&, const QString&, bool* checked) override
    {
        messages.append(text);
        if (checked) {
            askedChecked.push_back(*checked);
            *checked = answerChecked;
        }
        if (answers.empty()) {
            return false;
        }
        const bool answer = answers.front();
        answers.pop_front();
        return answer;
    }
    bool waitWithProgress(const QString& text, const std::function<double()>&,
                          const std::function<bool()>& finished) override
    {
        progressTexts.append(text);
        if (cancelWork) {
            return false;
        }
        // The worker is on its way to the end; the user-interface thread would be handling events meanwhile.
        while (!finished()) {
            std::this_thread::yield();
        }
        return true;
    }

    QStringList messages;
    // The answers the next questions get, in order; a question with none left is declined.
    std::deque<bool> answers;
    // What a question's check box is left at, and what each question offered.
    bool answerChecked = true;
    std::vector<bool> askedChecked;
    // Whether the user cancels the next work shown with progress, at once.
    bool cancelWork = false;
    QStringList progressTexts;
    // What the main window was told of players plugged in (true) or out, in order.
    std::vector<bool> deviceChanges;
    std::function<void(const QString&)> onMessage;
    std::function<void(CPlayerApp&)> mainWindow;
    std::function<void()> onEvents;
    // A deque: a progress window refers to its entry, which must not move.
    std::deque<Progress> progress;
    int eventPumps = 0;
    // For the next progress windows: see Progress::stopAfter.
    int stopAfterPositions = -1;
};
