// Stand-in for the simulation kernel or the front end (STAND_IN_NAME): records what it was
// started with, as the ANSI calls and as the wide calls see it (wide values as WTF-8), prints one
// line, and exits with the status the test asks for.
//
// KIVO_STANDIN_RECORD        file to append the record to
// KIVO_STANDIN_STATUS        exit status (decimal, 32 bits); 0 when unset
// KIVO_STANDIN_WAIT_MS       time to wait before exiting, after the record is written
// KIVO_STANDIN_INTERRUPT_STATUS  when set, Ctrl+C ends the stand-in with this status
// KIVO_STANDIN_SPAWN         a command line to start, without waiting, before the wait (a helper
//                            of the kernel's own); it runs for KIVO_STANDIN_SPAWN_WAIT_MS
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

#include "text/wtf8.h"

// The C runtime's split of its wide command line, exported by msvcrt.dll.
extern "C" int __cdecl __wgetmainargs(int* count, wchar_t*** arguments, wchar_t*** environment,
                                      int expandWildcards, void* startupInfo);

namespace {

std::string field(const std::string& bytes) { return std::to_string(bytes.size()) + ":" + bytes; }

std::string fromWide(const wchar_t* text) {
    return wtf8FromUtf16(
        std::u16string_view(reinterpret_cast<const char16_t*>(text), wcslen(text)));
}

DWORD getVariable(const char* name, char* value, DWORD size) {
    return GetEnvironmentVariableA(name, value, size);
}
DWORD getVariable(const wchar_t* name, wchar_t* value, DWORD size) {
    return GetEnvironmentVariableW(name, value, size);
}
std::string asRecorded(const std::string& value) { return value; }
std::string asRecorded(const std::wstring& value) { return fromWide(value.c_str()); }

// The variable as the ANSI or the wide call reads it, wide values as WTF-8; none when it is unset.
template <typename Char>
std::optional<std::string> environmentValue(const Char* name) {
    SetLastError(ERROR_SUCCESS);
    const DWORD size = getVariable(name, nullptr, 0);
    if (size == 0 && GetLastError() == ERROR_ENVVAR_NOT_FOUND) return std::nullopt;
    std::basic_string<Char> value(size, Char());
    if (size > 0) value.resize(getVariable(name, value.data(), size));
    return asRecorded(value);
}

std::string recordedVariable(const std::optional<std::string>& value) {
    return value ? field(*value) : "unset";
}

std::string recordPath;

void appendToRecord(const std::string& text) {
    if (recordPath.empty()) return;
    FILE* file = std::fopen(recordPath.c_str(), "ab");
    if (file == nullptr) return;
    std::fwrite(text.data(), 1, text.size(), file);
    std::fclose(file);
}

DWORD interruptStatus = 0;

BOOL WINAPI onControlEvent(DWORD event) {
    if (event != CTRL_C_EVENT) return FALSE;
    appendToRecord("interrupted\n");
    ExitProcess(interruptStatus);
}

}  // namespace

int main(int argc, char** argv) {
    recordPath = environmentValue("KIVO_STANDIN_RECORD").value_or("");

    std::string record = std::string("start ") + STAND_IN_NAME + "\n";
    record += "pid " + std::to_string(GetCurrentProcessId()) + "\n";
    std::string module(MAX_PATH, '\0');
    for (;;) {
        DWORD length = GetModuleFileNameA(nullptr, module.data(), module.size());
        if (length < module.size()) {
            module.resize(length);
            break;
        }
        module.resize(module.size() * 2);
    }
    record += "module " + field(module) + "\n";
    record += "cmdline " + field(GetCommandLineA()) + "\n";
    record += "argc " + std::to_string(argc) + "\n";
    for (int i = 0; i < argc; ++i) record += "arg " + field(argv[i]) + "\n";
    for (const char* name : {"PATH", "VELDRA_DSP", "PORT_DYNAMIC_DISABLE_MSG"}) {
        record +=
            std::string("env ") + name + " " + recordedVariable(environmentValue(name)) + "\n";
    }
    std::wstring wideModule(32768, L'\0');
    wideModule.resize(GetModuleFileNameW(nullptr, wideModule.data(), wideModule.size()));
    record += "wmodule " + field(fromWide(wideModule.c_str())) + "\n";
    record += "wcmdline " + field(fromWide(GetCommandLineW())) + "\n";
    struct {
        int newMode;
    } startup{0};
    int wideCount = 0;
    wchar_t** wideArguments = nullptr;
    wchar_t** wideEnvironment = nullptr;
    __wgetmainargs(&wideCount, &wideArguments, &wideEnvironment, 0, &startup);
    for (int i = 0; i < wideCount; ++i)
        record += "warg " + field(fromWide(wideArguments[i])) + "\n";
    for (const wchar_t* name : {L"PATH", L"VELDRA_DSP"}) {
        record += "wenv " + fromWide(name) + " " + recordedVariable(environmentValue(name)) + "\n";
    }
    wchar_t* strings = GetEnvironmentStringsW();
    for (const wchar_t* entry = strings; *entry != L'\0'; entry += wcslen(entry) + 1) {
        const std::wstring name(entry, wcscspn(entry + 1, L"=") + 1);
        if (_wcsicmp(name.c_str(), L"PATH") == 0)
            record += "pathname " + field(fromWide(name.c_str())) + "\n";
    }
    FreeEnvironmentStringsW(strings);
    std::string directory(GetCurrentDirectoryA(0, nullptr), '\0');
    directory.resize(GetCurrentDirectoryA(directory.size(), directory.data()));
    record += "cwd " + field(directory) + "\nend\n";
    appendToRecord(record);

    if (const std::optional<std::string> onInterrupt =
            environmentValue("KIVO_STANDIN_INTERRUPT_STATUS")) {
        interruptStatus = std::strtoul(onInterrupt->c_str(), nullptr, 10);
        SetConsoleCtrlHandler(onControlEvent, TRUE);
    }

    const std::string wait = environmentValue("KIVO_STANDIN_WAIT_MS").value_or("");
    std::string spawn = environmentValue("KIVO_STANDIN_SPAWN").value_or("");
    if (!spawn.empty()) {
        // The helper must not start helpers of its own, and waits as long as it is told to.
        SetEnvironmentVariableA("KIVO_STANDIN_SPAWN", nullptr);
        SetEnvironmentVariableA("KIVO_STANDIN_RECORD", nullptr);
        SetEnvironmentVariableA(
            "KIVO_STANDIN_WAIT_MS",
            environmentValue("KIVO_STANDIN_SPAWN_WAIT_MS").value_or("").c_str());
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION helper{};
        if (CreateProcessA(nullptr, spawn.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                           &startup, &helper)) {
            appendToRecord("spawned " + std::to_string(helper.dwProcessId) + "\n");
            CloseHandle(helper.hThread);
            CloseHandle(helper.hProcess);
        }
    }

    std::printf("%s stand-in: started with %d arguments\n", STAND_IN_NAME, argc);
    std::fflush(stdout);

    if (!wait.empty()) Sleep(std::strtoul(wait.c_str(), nullptr, 10));
    return static_cast<int>(
        std::strtoul(environmentValue("KIVO_STANDIN_STATUS").value_or("").c_str(), nullptr, 10));
}
