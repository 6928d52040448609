#pragma once

#include "download/ProgressIndicator.h"

#include <QString>

#include <memory>

enum class MessageIcon
{
    Information,
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

    // Handles the user-interface events that are waiting, without waiting for more.
    virtual void processEvents() = 0;
};
