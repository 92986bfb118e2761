#include "platform/platform.h"

#include <gtest/gtest.h>

#include <csignal>

// The Windows C runtime restores the default disposition before it calls a handler, so a second
// interrupt would end the process unless the handler registered itself again.
TEST(IgnoreInterrupts, KeepsIgnoringEveryInterrupt) {
    platform::ignoreInterrupts();
    std::raise(SIGINT);
    std::raise(SIGINT);
    const auto handlerAfterwards = std::signal(SIGINT, SIG_DFL);
    EXPECT_NE(handlerAfterwards, SIG_DFL);
    EXPECT_NE(handlerAfterwards, SIG_ERR);
}
