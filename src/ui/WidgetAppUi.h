#pragma once

#include "app/AppUi.h"

class CPlayerDlg;
class QWidget;
class SoundOutput;

// The user interface of the program: message boxes, the main window and the progress window as real
// dialogs.
class WidgetAppUi : public AppUi
{
public:
    void messageBox(const QString& text, MessageIcon icon) override;
    void runMainWindow(CPlayerApp& app) override;
    void deviceChanged(bool present) override;
    void busyChanged(bool busy) override;
    std::unique_ptr<ProgressIndicator> createProgress(const QString& text, int upper) override;
    std::unique_ptr<ProgressIndicator> createSetProgress(const QString& text, int upper) override;
    void processEvents() override;
    bool ask(const QString& text, MessageIcon icon, const QString& acceptText, const QString& checkText,
             bool* checked) override;
    bool waitWithProgress(const QString& text, const std::function<double()>& fraction,
                          const std::function<bool()>& finished) override;
    bool confirmPlan(SetPlan& plan) override;
    bool hasTrackWindow() const override { return true; }
    std::optional<PreparedTrack> prepareTrack(TrackSource& source, const TrackSlot& slot,
                                              const TrackPart& initial) override;

    // The program was asked from outside to end (StopSignal): every window waiting for an answer is
    // cancelled, what is told from now on goes to the standard error, and the main window closes as soon as
    // no command works in it.
    void stop();

    // The computer's sound output for the track window's preview; none when the computer has none.
    void setSoundOutput(SoundOutput* sound) { m_sound = sound; }

private:
    // The window a message box concerns: the one in front, or the main window when none is.
    QWidget* boxParent() const;
    // Whether the program was asked to end: by stop(), or by a signal stop() has not yet heard of.
    bool stopping() const;
    // Closes the main window as its close box does, once the event loop comes back to it.
    void closeMainWindow();

    CPlayerDlg* m_mainWindow = nullptr;
    SoundOutput* m_sound = nullptr;
    bool m_stopping = false;
};
