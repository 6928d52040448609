#include "app/SingleInstance.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <future>

namespace {

TEST(SingleInstance, ALaterInstanceFindsTheFirstAndAsksItToComeToTheFront)
{
    QTemporaryDir folder;
    auto first = std::make_unique<SingleInstance>(QStringLiteral("ZoffinoUSB"), folder.path());
    ASSERT_TRUE(first->claim());
    QSignalSpy asked(first.get(), &SingleInstance::activationRequested);

    SingleInstance later(QStringLiteral("ZoffinoUSB"), folder.path());
    EXPECT_FALSE(later.claim());
    // The first answers from its event loop, which runs here while the later one waits for the answer.
    auto answered = std::async(std::launch::async, [&later] { return later.activateRunning(); });
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return answered.wait_for(std::chrono::seconds(0)) == std::future_status::ready; }, 5000));
    EXPECT_TRUE(answered.get());
    EXPECT_EQ(asked.size(), 1);

    // Once the first has ended, the next one starts as the only one.
    first.reset();
    SingleInstance next(QStringLiteral("ZoffinoUSB"), folder.path());
    EXPECT_TRUE(next.claim());
}

} // namespace
