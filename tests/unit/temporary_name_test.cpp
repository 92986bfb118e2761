#include "platform/temporary_name.h"

#include <gtest/gtest.h>

#include <optional>

// Only a launcher's own temporary files are ever taken for stale ones: the log's exact name, a
// process id and ".tmp", nothing more and nothing less.
TEST(TemporaryName, NamesTheWriterOfTheLogsTemporaryFilesAndOfNothingElse) {
    EXPECT_EQ(platform::temporaryNameFor("kivo.log", 1220), "kivo.log.1220.tmp");
    const struct {
        const char* candidate;
        std::optional<std::uint32_t> writer;
    } cases[] = {
        {"kivo.log.1220.tmp", 1220},
        {"kivo.log.4294967295.tmp", 4294967295u},
        {"kivo.log.4294967296.tmp", std::nullopt},  // beyond a process id
        {"kivo.log.99999999999.tmp", std::nullopt},
        {"kivo.log..tmp", std::nullopt},
        {"kivo.log.12a.tmp", std::nullopt},
        {"kivo.log.keep.tmp", std::nullopt},
        {"kivo.log.12.tmp.tmp", std::nullopt},
        {"other.log.12.tmp", std::nullopt},
        {"xkivo.log.12.tmp", std::nullopt},
        {"kivo.log.12.TMP", std::nullopt},
        {"kivo.log-12.tmp", std::nullopt},
        {"kivo.log", std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(platform::temporaryWriter("kivo.log", c.candidate), c.writer) << c.candidate;
    }
    // A name with wildcards matches only itself.
    EXPECT_EQ(platform::temporaryWriter("*", "kivo.log.12.tmp"), std::nullopt);
    EXPECT_EQ(platform::temporaryWriter("*", "*.12.tmp"), 12u);
}
