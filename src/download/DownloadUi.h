#pragma once

#include "download/ProgressIndicator.h"
#include "download/TrackPart.h"

#include <QString>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

struct SetPlan;
class TrackSource;
struct TrackSlot;

enum class MessageIcon
{
    Information,
    Question,
    Warning,
    Error,
};

// What a download needs from the user interface: message boxes, a progress window, and a turn for the
// user-interface events while the blocks go out.
class DownloadUi
{
public:
    virtual ~DownloadUi() = default;

    // A modal message box with an OK button, the application's name as its caption.
    virtual void messageBox(const QString& text, MessageIcon icon) = 0;

    // A modeless progress window with a bar from 0 to upper; null when none can be shown.
    virtual std::unique_ptr<ProgressIndicator> createProgress(const QString& text, int upper) = 0;
    // The one progress window of a set of files, with a Cancel button: stopRequested() says when it was
    // pressed. Without its own, the download's window.
    virtual std::unique_ptr<ProgressIndicator> createSetProgress(const QString& text, int upper)
    {
        return createProgress(text, upper);
    }

    // Handles the user-interface events that are waiting, without waiting for more.
    virtual void processEvents() = 0;

    // A question with acceptText and "Annulla"; with checkText, also a check box whose state comes in and
    // goes out through checked. True when the user accepted.
    virtual bool ask(const QString& text, MessageIcon icon, const QString& acceptText,
                     const QString& checkText = QString(), bool* checked = nullptr) = 0;

    // Shows a modal progress window with an "Annulla" button while work runs elsewhere: fraction tells how
    // far it has come (0 to 1) and finished whether it is over; both are asked from the user-interface thread
    // now and then, and must only read what the worker publishes. True when the work finished, false when the
    // user cancelled first.
    virtual bool waitWithProgress(const QString& text, const std::function<double()>& fraction,
                                  const std::function<bool()>& finished) = 0;

    // The track window: shows source (still being read), lets the user choose the part that goes into slot,
    // starting from initial, and hear it; gives back what the user accepted, nullopt when cancelled. Only a
    // user interface that has such a window says so (hasTrackWindow); the others get the questions instead.
    // The plan of a set of files, shown once before anything is sent; true to load it. A user interface
    // with a track window lets the user choose a file's part there (the entry's prepared bytes). Without one
    // of its own, the plan's text as a question.
    virtual bool confirmPlan(SetPlan& plan);

    virtual bool hasTrackWindow() const { return false; }
    virtual std::optional<PreparedTrack> prepareTrack(TrackSource& source, const TrackSlot& slot,
                                                      const TrackPart& initial)
    {
        (void)source;
        (void)slot;
        (void)initial;
        return std::nullopt;
    }
};
