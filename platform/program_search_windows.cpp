// The program search of the Windows platform layer: where starting a program by its bare name
// finds it.
#include <windows.h>

#include <algorithm>

#include "platform/platform.h"

namespace platform {

namespace {

// Text that a Windows call writes into a buffer. The call returns the length written; when the
// buffer is too small, the size it needs or (GetModuleFileName) the whole buffer; 0 on failure.
template <typename Call>
std::optional<std::string> textFrom(Call call) {
    std::string text(MAX_PATH, '\0');
    for (;;) {
        const DWORD length = call(text.data(), static_cast<DWORD>(text.size()));
        if (length == 0) return std::nullopt;
        if (length < text.size()) {
            text.resize(length);
            return text;
        }
        text.resize(std::max<std::size_t>(length, 2 * text.size()));
    }
}

std::string directoryOf(const std::string& file) {
    const std::size_t separator = file.find_last_of("\\/");
    return separator == std::string::npos ? std::string() : file.substr(0, separator);
}

// The directories in the order in which starting a program without a path looks in them: this
// program's own, the current one, the system directories, then PATH.
std::string programSearchPath() {
    std::string path;
    auto append = [&path](const std::optional<std::string>& directory) {
        if (directory && !directory->empty()) path += *directory + ";";
    };
    const std::optional<std::string> module = textFrom(
        [](char* buffer, DWORD size) { return GetModuleFileNameA(nullptr, buffer, size); });
    if (module) append(directoryOf(*module));
    append(textFrom([](char* buffer, DWORD size) { return GetCurrentDirectoryA(size, buffer); }));
    append(textFrom([](char* buffer, DWORD size) { return GetSystemDirectoryA(buffer, size); }));
    const std::optional<std::string> windows =
        textFrom([](char* buffer, DWORD size) { return GetWindowsDirectoryA(buffer, size); });
    if (windows) append(*windows + "\\System");
    append(windows);
    append(getEnvironmentVariable("PATH"));
    return path;
}

}  // namespace

std::optional<std::string> findProgram(const std::string& name) {
    const std::string searchPath = programSearchPath();
    return textFrom([&](char* buffer, DWORD size) {
        return SearchPathA(searchPath.c_str(), name.c_str(), ".exe", size, buffer, nullptr);
    });
}

}  // namespace platform
