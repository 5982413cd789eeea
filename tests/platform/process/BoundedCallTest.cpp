#include "platform/process/BoundedCall.h"

#include <atomic>
#include <gtest/gtest.h>
#include <memory>
#include <thread>

namespace {

TEST(BoundedCallTest, AnswerInTimeIsPassedOn) {
    bool timedOut = false;
    const BoundedCall::Outcome outcome =
        BoundedCall::run([] { return 7; }, 60000, [&] { timedOut = true; });
    EXPECT_EQ(outcome.value, 7);
    EXPECT_FALSE(outcome.abandoned);
    EXPECT_FALSE(timedOut);
}

TEST(BoundedCallTest, ThrowingCallAnswersNothing) {
    const BoundedCall::Outcome outcome =
        BoundedCall::run([]() -> int { throw std::runtime_error("bridge gone"); }, 60000, nullptr);
    EXPECT_EQ(outcome.value, std::nullopt);
    EXPECT_FALSE(outcome.abandoned);
}

// A call that hangs until released, as a request to a hung program does until the
// program is ended.
auto hangUntil(const std::shared_ptr<std::atomic<bool>>& release) {
    return [release] {
        while (!*release)
            std::this_thread::yield();
        return 1;
    };
}

TEST(BoundedCallTest, HungCallIsEndedThroughTheTimeoutAction) {
    auto release = std::make_shared<std::atomic<bool>>(false);
    const BoundedCall::Outcome outcome = BoundedCall::run(
        hangUntil(release), 10, [release] { *release = true; }, 60000);
    EXPECT_EQ(outcome.value, std::nullopt);
    EXPECT_FALSE(outcome.abandoned);
}

TEST(BoundedCallTest, CallThatStaysHungIsAbandoned) {
    auto release = std::make_shared<std::atomic<bool>>(false);
    const BoundedCall::Outcome outcome = BoundedCall::run(hangUntil(release), 10, nullptr, 10);
    EXPECT_TRUE(outcome.abandoned);
    *release = true; // lets the abandoned thread end before the test program does
}

} // namespace
