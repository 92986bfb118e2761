#include "platform/temporary_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

TEST(TemporaryFile, IsRemovedByItsOwnerUnlessCommitted) {
    for (const bool committed : {false, true}) {
        std::vector<std::string> removed;
        {
            platform::TemporaryFile temporary(
                std::string("kivo.log.7.tmp"),
                [&removed](const std::string& path) { removed.push_back(path); });
            EXPECT_EQ(temporary.path(), "kivo.log.7.tmp");
            if (committed) temporary.commit();
            EXPECT_TRUE(removed.empty());
        }
        EXPECT_EQ(removed, committed ? std::vector<std::string>{}
                                     : std::vector<std::string>{"kivo.log.7.tmp"})
            << (committed ? "committed" : "not committed");
    }
}
