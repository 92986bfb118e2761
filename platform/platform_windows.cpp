// The launcher's platform layer on Windows.
#include <sys/stat.h>
#include <windows.h>

#include <algorithm>
#include <cstdio>

#include "platform/platform.h"

namespace platform {

namespace {

// The system's text for an error, with the program named where the text has an insert for it.
std::string systemErrorText(DWORD error, const std::string& program) {
    char* text = nullptr;
    const DWORD length = FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<char*>(&text), 0, nullptr);
    std::string message = length > 0 ? std::string(text, length) : std::string();
    if (text != nullptr) LocalFree(text);
    for (std::size_t insert = message.find("%1"); insert != std::string::npos;
         insert = message.find("%1", insert + program.size())) {
        message.replace(insert, 2, program);
    }
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r' ||
                                message.back() == ' ' || message.back() == '.')) {
        message.pop_back();
    }
    if (message.empty()) message = "system error";
    return message + " (error " + std::to_string(error) + ")";
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

void closeChild(const SuspendedChild& child) {
    CloseHandle(child.thread);
    CloseHandle(child.process);
    if (child.job != nullptr) CloseHandle(child.job);
}

// The text with each line feed written as carriage return and line feed.
std::string withWindowsLineEnds(const std::string& text) {
    std::string result;
    result.reserve(text.size() + text.size() / 16);
    for (char c : text) {
        if (c == '\n') result += '\r';
        result += c;
    }
    return result;
}

bool writeAll(HANDLE file, const std::string& bytes) {
    std::size_t written = 0;
    while (written < bytes.size()) {
        const DWORD chunk =
            static_cast<DWORD>(std::min<std::size_t>(bytes.size() - written, 1 << 30));
        DWORD count = 0;
        if (!WriteFile(file, bytes.data() + written, chunk, &count, nullptr) || count == 0) {
            return false;
        }
        written += count;
    }
    return true;
}

bool isDiskFull(DWORD error) { return error == ERROR_DISK_FULL || error == ERROR_HANDLE_DISK_FULL; }

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

FileWrite replaceTextFile(const std::string& path, const std::string& text) {
    // Beside the file, so that the move stays on one volume; named after this process, so that
    // launches side by side never share one.
    const std::string temporary = path + "." + std::to_string(GetCurrentProcessId()) + ".tmp";
    HANDLE file = CreateFileA(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return isDiskFull(GetLastError()) ? FileWrite::writeFailed : FileWrite::cannotOpen;
    }
    const bool written = writeAll(file, withWindowsLineEnds(text)) && FlushFileBuffers(file);
    if (!CloseHandle(file) || !written) {
        DeleteFileA(temporary.c_str());
        return FileWrite::writeFailed;
    }
    // Another launch may be moving its own log into place at this moment; the system then refuses
    // for a short while.
    for (int attempt = 0;; ++attempt) {
        if (MoveFileExA(temporary.c_str(), path.c_str(),
                        MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
            return FileWrite::done;
        }
        const DWORD error = GetLastError();
        const bool busy = error == ERROR_ACCESS_DENIED || error == ERROR_SHARING_VIOLATION;
        if (!busy || attempt == 50 || GetFileAttributesA(path.c_str()) & FILE_ATTRIBUTE_DIRECTORY) {
            DeleteFileA(temporary.c_str());
            return isDiskFull(error) ? FileWrite::writeFailed : FileWrite::cannotOpen;
        }
        Sleep(10);
    }
}

ChildStart startSuspended(ChildKind kind, const std::string& programPath,
                          const std::string& commandLine) {
    std::fflush(stdout);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    const bool kernel = kind == ChildKind::kernel;
    if (kernel) {
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdInput = inheritableStandardHandle(STD_INPUT_HANDLE);
        startup.hStdOutput = inheritableStandardHandle(STD_OUTPUT_HANDLE);
        startup.hStdError = inheritableStandardHandle(STD_ERROR_HANDLE);
    }
    std::string mutableCommandLine = commandLine;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(kernel ? programPath.c_str() : nullptr, mutableCommandLine.data(), nullptr,
                        nullptr, kernel ? TRUE : FALSE, CREATE_SUSPENDED, nullptr, nullptr,
                        &startup, &process)) {
        const std::string program =
            kernel ? programPath : commandLine.substr(0, commandLine.find(' '));
        return ChildStart{std::nullopt, systemErrorText(GetLastError(), program)};
    }
    SuspendedChild child{kind, process.hProcess, process.hThread, nullptr};
    if (kernel) {
        // The kernel is in the job before any of its code runs, so nothing it starts escapes it.
        // Where jobs cannot be nested (before Windows 8), it runs without one.
        child.job = createKillOnCloseJob();
        if (child.job != nullptr && !AssignProcessToJobObject(child.job, process.hProcess)) {
            CloseHandle(child.job);
            child.job = nullptr;
        }
    }
    return ChildStart{child, {}};
}

std::uint32_t resumeAndWait(const SuspendedChild& child) {
    ResumeThread(child.thread);
    WaitForSingleObject(child.process, INFINITE);
    DWORD status = 1;
    GetExitCodeProcess(child.process, &status);
    if (child.job != nullptr) {
        // The kernel ended by itself: what it left running is its own and outlives the launcher.
        JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
        SetInformationJobObject(child.job, JobObjectExtendedLimitInformation, &limits,
                                sizeof limits);
    }
    closeChild(child);
    return status;
}

void discardChild(const SuspendedChild& child) {
    TerminateProcess(child.process, 1);
    WaitForSingleObject(child.process, INFINITE);
    closeChild(child);
}

void rebindStandardInputToConsole() {
    SECURITY_ATTRIBUTES inheritable{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    HANDLE console = CreateFileA("CONIN$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ,
                                 &inheritable, OPEN_EXISTING, 0, nullptr);
    if (console != INVALID_HANDLE_VALUE) SetStdHandle(STD_INPUT_HANDLE, console);
}

}  // namespace platform
