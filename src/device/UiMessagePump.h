#pragma once

#include "device/WakeDescriptor.h"

#include <QObject>

#include <memory>

class QSocketNotifier;
class UiMessageQueue;

// Lets the Qt event loop of the user-interface thread dispatch the messages of a UiMessageQueue. Posting
// threads only write to a file descriptor; they never call into Qt, whose unsynchronised internals would
// otherwise be shared with them.
class UiMessagePump : public QObject
{
    Q_OBJECT

public:
    explicit UiMessagePump(UiMessageQueue& queue, QObject* parent = nullptr);
    ~UiMessagePump() override;

private:
    void onWake();

    UiMessageQueue& m_queue;
    WakeDescriptor m_wake;
    std::unique_ptr<QSocketNotifier> m_notifier;
};
