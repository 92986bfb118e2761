// The launcher's platform layer on Windows.
#include <sys/stat.h>
#include <windows.h>

#include <cstdio>

#include "platform/platform.h"

namespace platform {

namespace {

std::string systemErrorText(DWORD error) {
    char* text = nullptr;
    const DWORD length = FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<char*>(&text), 0, nullptr);
    std::string message = length > 0 ? std::string(text, length) : std::string();
    if (text != nullptr) LocalFree(text);
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r' ||
                                message.back() == ' ' || message.back() == '.')) {
        message.pop_back();
    }
    if (message.empty()) message = "system error";
    return message + " (error " + std::to_string(error) + ")";
}

ChildResult waitForChild(const PROCESS_INFORMATION& process) {
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD status = 1;
    GetExitCodeProcess(process.hProcess, &status);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return ChildResult{true, status, {}};
}

// A job that ends every process in it when its last handle, this process's, is closed.
HANDLE createKillOnCloseJob() {
    HANDLE job = CreateJobObjectA(nullptr, nullptr);
    if (job == nullptr) return nullptr;
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    if (!SetInformationJobObject(job, JobObjectExtendedLimitInformation, &limits, sizeof limits)) {
        CloseHandle(job);
        return nullptr;
    }
    return job;
}

// The standard handle, made inheritable so that the child receives it even when it is a file or
// a pipe.
HANDLE inheritableStandardHandle(DWORD which) {
    HANDLE handle = GetStdHandle(which);
    if (handle != nullptr && handle != INVALID_HANDLE_VALUE) {
        SetHandleInformation(handle, HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT);
    }
    return handle;
}

}  // namespace

std::optional<std::string> getEnvironmentVariable(const std::string& name) {
    SetLastError(ERROR_SUCCESS);
    DWORD size = GetEnvironmentVariableA(name.c_str(), nullptr, 0);
    if (size == 0) {
        if (GetLastError() == ERROR_ENVVAR_NOT_FOUND) return std::nullopt;
        return std::string();
    }
    // The value can change between the two calls only through this thread; retry if it grew.
    for (;;) {
        std::string value(size, '\0');
        const DWORD length = GetEnvironmentVariableA(name.c_str(), value.data(), size);
        if (length < size) {
            value.resize(length);
            return value;
        }
        size = length;
    }
}

bool setEnvironmentVariable(const std::string& name, const std::string& value) {
    return SetEnvironmentVariableA(name.c_str(), value.c_str()) != 0;
}

bool statusReadable(const std::string& path) {
    struct _stat64 status;
    return _stat64(path.c_str(), &status) == 0;
}

ChildResult runKernel(const std::string& programPath, const std::string& commandLine) {
    std::fflush(stdout);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = inheritableStandardHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = inheritableStandardHandle(STD_OUTPUT_HANDLE);
    startup.hStdError = inheritableStandardHandle(STD_ERROR_HANDLE);

    std::string mutableCommandLine = commandLine;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(programPath.c_str(), mutableCommandLine.data(), nullptr, nullptr, TRUE,
                        CREATE_SUSPENDED, nullptr, nullptr, &startup, &process)) {
        return ChildResult{false, 0, systemErrorText(GetLastError())};
    }
    // The job handle stays open until this process ends; then the kernel ends with it.
    HANDLE job = createKillOnCloseJob();
    if (job != nullptr) AssignProcessToJobObject(job, process.hProcess);
    ResumeThread(process.hThread);
    return waitForChild(process);
}

void rebindStandardInputToConsole() {
    SECURITY_ATTRIBUTES inheritable{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    HANDLE console = CreateFileA("CONIN$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ,
                                 &inheritable, OPEN_EXISTING, 0, nullptr);
    if (console != INVALID_HANDLE_VALUE) SetStdHandle(STD_INPUT_HANDLE, console);
}

ChildResult runFrontEnd(const std::string& commandLine) {
    std::fflush(stdout);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    std::string mutableCommandLine = commandLine;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, mutableCommandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &process)) {
        return ChildResult{false, 0, systemErrorText(GetLastError())};
    }
    return waitForChild(process);
}

}  // namespace platform
