// The platform layer of the native build, which runs the unit tests. The product is the Windows
// program; starting the kernel or the front end is not offered here.
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

#include "platform/platform.h"
#include "platform/temporary_file.h"
#include "platform/temporary_name.h"
#include "text/wtf8.h"

namespace platform {

std::optional<std::string> getEnvironmentVariable(const std::string& name) {
    const char* value = std::getenv(name.c_str());
    if (value == nullptr) return std::nullopt;
    return std::string(value);
}

bool setEnvironmentVariable(const std::string& name, const std::string& value) {
    return setenv(name.c_str(), value.c_str(), 1) == 0;
}

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

void printToStandardError(const std::string& text) {
    std::fwrite(text.data(), 1, text.size(), stderr);
}

void printToStandardOutput(const std::string& text) {
    std::fwrite(text.data(), 1, text.size(), stdout);
}

bool statusReadable(const std::string& path) {
    struct stat status;
    return stat(path.c_str(), &status) == 0;
}

// This build has no ANSI code page; it reads the bytes as Latin-1, each the code point of its
// value.
std::string ansiToUtf8(std::string_view bytes) {
    std::u16string units;
    units.reserve(bytes.size());
    for (const unsigned char byte : bytes) units += static_cast<char16_t>(byte);
    return wtf8FromUtf16(units);
}

FileWrite replaceTextFile(const std::string& path, const std::string& text) {
    const std::string name = temporaryNameFor(path, static_cast<std::uint32_t>(getpid()));
    FILE* file = std::fopen(name.c_str(), "wb");
    if (file == nullptr) return FileWrite::cannotOpen;
    TemporaryFile temporary(name, [](const std::string& at) { std::remove(at.c_str()); });
    const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size() &&
                         std::fflush(file) == 0 && fsync(fileno(file)) == 0;
    if (std::fclose(file) != 0 || !written) return FileWrite::writeFailed;
    if (std::rename(temporary.path().c_str(), path.c_str()) != 0) return FileWrite::cannotOpen;
    temporary.commit();
    return FileWrite::done;
}

// Starting programs is offered only by the Windows build.
// This build opens no handles of the system.
void OwnedHandle::reset() { handle_ = nullptr; }

ChildStart startSuspended(const StartSettings&, const std::string&, const std::string&) {
    return ChildStart{std::nullopt, "starting programs is offered only by the Windows build"};
}

std::uint32_t resumeAndWait(SuspendedChild) { return 1; }

void discardChild(SuspendedChild) {}

std::optional<std::string> findProgram(const std::string&) { return std::nullopt; }

void rebindStandardInputToConsole() {}

}  // namespace platform
