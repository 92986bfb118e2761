// The platform layer of the native build, which runs the unit tests. The product is the Windows
// program; starting the kernel or the front end is not offered here.
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

#include "platform/platform.h"

namespace platform {

std::optional<std::string> getEnvironmentVariable(const std::string& name) {
    const char* value = std::getenv(name.c_str());
    if (value == nullptr) return std::nullopt;
    return std::string(value);
}

bool setEnvironmentVariable(const std::string& name, const std::string& value) {
    return setenv(name.c_str(), value.c_str(), 1) == 0;
}

bool statusReadable(const std::string& path) {
    struct stat status;
    return stat(path.c_str(), &status) == 0;
}

FileWrite replaceTextFile(const std::string& path, const std::string& text) {
    const std::string temporary = path + "." + std::to_string(getpid()) + ".tmp";
    FILE* file = std::fopen(temporary.c_str(), "wb");
    if (file == nullptr) return FileWrite::cannotOpen;
    const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size() &&
                         std::fflush(file) == 0 && fsync(fileno(file)) == 0;
    if (std::fclose(file) != 0 || !written) {
        std::remove(temporary.c_str());
        return FileWrite::writeFailed;
    }
    if (std::rename(temporary.c_str(), path.c_str()) != 0) {
        std::remove(temporary.c_str());
        return FileWrite::cannotOpen;
    }
    return FileWrite::done;
}

// Starting programs is offered only by the Windows build.
ChildStart startSuspended(ChildKind, const std::string&, const std::string&) {
    return ChildStart{std::nullopt, "starting programs is offered only by the Windows build"};
}

std::uint32_t resumeAndWait(const SuspendedChild&) { return 1; }

void discardChild(const SuspendedChild&) {}

void rebindStandardInputToConsole() {}

}  // namespace platform
