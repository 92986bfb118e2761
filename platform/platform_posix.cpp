// The platform layer of the native build, which runs the unit tests. The product is the Windows
// program; starting the kernel or the front end is not offered here.
#include <sys/stat.h>

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

namespace {
ChildResult notOffered() {
    return ChildResult{false, 0, "starting programs is offered only by the Windows build"};
}
}  // namespace

ChildResult runKernel(const std::string&, const std::string&) { return notOffered(); }

void rebindStandardInputToConsole() {}

ChildResult runFrontEnd(const std::string&) { return notOffered(); }

std::optional<std::string> findProgram(const std::string&) { return std::nullopt; }

}  // namespace platform
