#pragma once

// The progress window of a download, as the core sees it. Destroying it removes the window.
class ProgressIndicator
{
public:
    virtual ~ProgressIndicator() = default;
    virtual void SetPos(int pos) = 0;
};
