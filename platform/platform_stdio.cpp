// The parts of the platform layer that the C runtime covers alike on every system.
#include <csignal>
#include <cstdio>
#include <cstdlib>

#include "platform/platform.h"

namespace platform {

bool opensForReading(const std::string& path) {
    FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) return false;
    std::fclose(file);
    return true;
}

std::optional<std::string> readWholeFile(const std::string& path) {
    FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) return std::nullopt;
    std::string content;
    std::size_t used = 0;
    for (;;) {
        content.resize(used + 65536);
        const std::size_t count = std::fread(content.data() + used, 1, content.size() - used, file);
        used += count;
        if (count == 0) break;
    }
    content.resize(used);
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    if (failed) return std::nullopt;
    return content;
}

bool writeTextFile(const std::string& path, const std::string& text) {
    FILE* file = std::fopen(path.c_str(), "w");
    if (file == nullptr) return false;
    std::fwrite(text.data(), 1, text.size(), file);
    std::fclose(file);
    return true;
}

void printToStandardOutput(const std::string& text) {
    std::fwrite(text.data(), 1, text.size(), stdout);
}

void printToStandardError(const std::string& text) {
    std::fwrite(text.data(), 1, text.size(), stderr);
}

void exitProcess(std::uint32_t status) {
    std::fflush(stdout);
    std::exit(static_cast<int>(status));
}

namespace {
// The C runtime restores the default disposition before it calls a handler, so the handler
// registers itself again; otherwise a second Ctrl+C would end the process.
void ignoreInterrupt(int) { std::signal(SIGINT, ignoreInterrupt); }
}  // namespace

void ignoreInterrupts() { std::signal(SIGINT, ignoreInterrupt); }

}  // namespace platform
