#include "app/launch_switches.h"

#include <gtest/gtest.h>

TEST(SwitchIsOn, OnForAnyValueButEmptyOrZero) {
    const struct {
        std::optional<std::string> value;
        bool on;
    } cases[] = {
        {std::nullopt, false}, {"", false},  {"0", false}, {"1", true},  {"yes", true},
        {"false", true},       {"00", true}, {" 0", true}, {"0 ", true}, {" ", true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(switchIsOn(c.value), c.on) << "\"" << c.value.value_or("(unset)") << "\"";
    }
}
