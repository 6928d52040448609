#include "device/UiMessageQueue.h"

#include <gtest/gtest.h>

#include <thread>

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

UiMessage message(std::uint32_t value, std::uintptr_t wParam = 0, UiTarget target = UiTarget::MainWindow)
{
    return {.target = target, .message = value, .wParam = wParam};
}

TEST(UiMessageQueue, TakeRemovesTheFirstMatchAndLeavesTheRestInOrder)
{
    UiMessageQueue queue;
    queue.post(message(WM_DEVICE_BUSY, 0));
    queue.post(message(WM_DEVICE_REPORT, 1));
    queue.post(message(WM_DEVICE_BUSY, 1));
    queue.post(message(WM_DEVICE_REPORT, 2));

    auto first = queue.take(WM_DEVICE_REPORT, Clock::now());
    ASSERT_TRUE(first);
    EXPECT_EQ(first->wParam, 1u);

    std::vector<std::pair<std::uint32_t, std::uintptr_t>> rest;
    queue.setHandler(UiTarget::MainWindow, [&rest](UiMessage& m) { rest.emplace_back(m.message, m.wParam); });
    EXPECT_EQ(queue.dispatchPending(), 3u);
    EXPECT_EQ(rest, (std::vector<std::pair<std::uint32_t, std::uintptr_t>>{
                        {WM_DEVICE_BUSY, 0}, {WM_DEVICE_BUSY, 1}, {WM_DEVICE_REPORT, 2}}));
}

TEST(UiMessageQueue, TakeWaitsUntilTheDeadlineOrAnArrivalFromAnotherThread)
{
    UiMessageQueue queue;
    const auto start = Clock::now();
    EXPECT_FALSE(queue.take(WM_DEVICE_REPORT, start + 30ms));
    EXPECT_GE(Clock::now() - start, 30ms);

    std::thread poster([&queue] {
        std::this_thread::sleep_for(10ms);
        queue.post(message(WM_DEVICE_BUSY));
        queue.post(message(WM_DEVICE_REPORT, 7));
    });
    auto taken = queue.take(WM_DEVICE_REPORT, Clock::now() + 5s);
    poster.join();
    ASSERT_TRUE(taken);
    EXPECT_EQ(taken->wParam, 7u);
    EXPECT_EQ(queue.pendingCount(), 1u);
}

TEST(UiMessageQueue, MessagesForAWindowThatDoesNotExistAreDropped)
{
    UiMessageQueue queue;
    int delivered = 0;
    queue.setHandler(UiTarget::MainWindow, [&delivered](UiMessage&) { ++delivered; });
    auto withData = message(WM_DIAG_READ, 0, UiTarget::DiagnosticsDialog);
    withData.bytes.assign(64, 0xAB);
    queue.post(std::move(withData));
    queue.post(message(WM_DEVICE_REPORT));

    EXPECT_EQ(queue.dispatchPending(), 2u);
    EXPECT_EQ(delivered, 1);
    EXPECT_FALSE(queue.hasPending());

    queue.clearHandler(UiTarget::MainWindow);
    queue.post(message(WM_DEVICE_REPORT));
    queue.dispatchPending();
    EXPECT_EQ(delivered, 1);
}

TEST(UiMessageQueue, AHandlerMayPostAndCloseItsWindowWhileBeingDispatched)
{
    UiMessageQueue queue;
    int calls = 0;
    queue.setHandler(UiTarget::DiagnosticsDialog, [&](UiMessage&) {
        ++calls;
        queue.post(message(WM_DIAG_WRITE, 0, UiTarget::DiagnosticsDialog));
        queue.clearHandler(UiTarget::DiagnosticsDialog);
    });
    queue.post(message(WM_DIAG_READ, 0, UiTarget::DiagnosticsDialog));
    queue.post(message(WM_DIAG_READ, 0, UiTarget::DiagnosticsDialog));

    EXPECT_EQ(queue.dispatchPending(), 2u);
    EXPECT_EQ(calls, 1);
    // What the handler posted waits for the next round, and then finds no window.
    EXPECT_EQ(queue.pendingCount(), 1u);
    queue.dispatchPending();
    EXPECT_EQ(calls, 1);
}

TEST(UiMessageQueue, WakesOnceUntilTheWakeIsHandled)
{
    UiMessageQueue queue;
    int wakes = 0;
    queue.post(message(WM_DEVICE_BUSY));
    queue.setWakeCallback([&wakes] { ++wakes; });
    EXPECT_EQ(wakes, 1) << "messages already waiting wake the new pump";
    queue.post(message(WM_DEVICE_BUSY));
    EXPECT_EQ(wakes, 1);
    queue.wakeHandled();
    queue.post(message(WM_DEVICE_BUSY));
    EXPECT_EQ(wakes, 2);
    queue.setWakeCallback(nullptr);
    queue.post(message(WM_DEVICE_BUSY));
    EXPECT_EQ(wakes, 2);
}

} // namespace
