#pragma once

#include <QString>

// The progress window of a download, as the core sees it. Destroying it removes the window.
class ProgressIndicator
{
public:
    virtual ~ProgressIndicator() = default;
    virtual void SetPos(int pos) = 0;
    // What is being done, in a line the window shows under its bar.
    virtual void SetDetail(const QString& /*detail*/) {}
    // Within a set of files, where the bar is the set's: how far the file under way has come, 0 to 100.
    virtual void SetItemProgress(int /*percent*/) {}
    // True once the user asked to stop: the download ends after the block under way, the slot closed
    // with its end marks so that it holds a shorter but whole track.
    virtual bool stopRequested() const { return false; }
};
