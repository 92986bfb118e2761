#include "platform/platform.h"

#include <gtest/gtest.h>

#include <csignal>
#include <string>

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

// Every byte yields text, a NUL included. 0xE9 is "é" alike in Latin-1, the native build's reading,
// and in Windows-1252, Wine's ANSI code page under an English or C locale.
TEST(AnsiToUtf8, ConvertsEveryByte) {
    EXPECT_EQ(platform::ansiToUtf8(""), "");
    EXPECT_EQ(platform::ansiToUtf8(std::string("-x\0caf\xE9\r\n", 9)),
              std::string("-x\0caf\xC3\xA9\r\n", 10));
}
