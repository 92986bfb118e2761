// The launcher's platform layer on Windows. Every call is a wide ("W") one: text is converted
// between WTF-8 and UTF-16 here, so no character is replaced by the ANSI code page on the way.
#include <windows.h>

#include <algorithm>
#include <climits>
#include <cstdio>

#include "platform/platform.h"
#include "platform/start_retry.h"
#include "platform/temporary_file.h"
#include "platform/temporary_name.h"
#include "text/wtf8.h"

namespace platform {

namespace {

std::wstring wide(std::string_view text) {
    const std::u16string units = utf16FromWtf8(text);
    return std::wstring(units.begin(), units.end());
}

std::string narrow(const wchar_t* text, std::size_t length) {
    return wtf8FromUtf16(std::u16string_view(reinterpret_cast<const char16_t*>(text), length));
}

std::string narrow(const std::wstring& text) { return narrow(text.data(), text.size()); }

// The system's text for an error, with the program named where the text has an insert for it.
std::string systemErrorText(DWORD error, const std::string& program) {
    wchar_t* text = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::string message = length > 0 ? narrow(text, length) : std::string();
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
OwnedHandle createKillOnCloseJob() {
    OwnedHandle job(CreateJobObjectW(nullptr, nullptr));
    if (job.get() == nullptr) return job;
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    if (!SetInformationJobObject(job.get(), JobObjectExtendedLimitInformation, &limits,
                                 sizeof limits)) {
        job.reset();
    }
    return job;
}

// A kill-on-close job that this process is in, so that the children it creates are born in it;
// empty where this process cannot join one.
OwnedHandle joinKillOnCloseJob() {
    OwnedHandle job = createKillOnCloseJob();
    if (job.get() != nullptr && !AssignProcessToJobObject(job.get(), GetCurrentProcess())) {
        return {};
    }
    return job;
}

// Lifts the job's kill-on-close: what runs in it outlives this process. This process is in the
// job too, so the limit must go before the job's last handle, which would end this process too.
void keepRunningWithoutThisProcess(HANDLE job) {
    if (job == nullptr) return;
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
    SetInformationJobObject(job, JobObjectExtendedLimitInformation, &limits, sizeof limits);
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

// The text as UTF-8 for a file or a pipe: a lone surrogate, which UTF-8 cannot hold, becomes
// U+FFFD; everything else stays byte for byte.
std::string asUtf8(const std::string& text) {
    if (std::all_of(text.begin(), text.end(), [](char c) { return (c & 0x80) == 0; })) return text;
    const std::wstring characters = wide(text);
    const int size =
        WideCharToMultiByte(CP_UTF8, 0, characters.data(), static_cast<int>(characters.size()),
                            nullptr, 0, nullptr, nullptr);
    std::string bytes(size, '\0');
    WideCharToMultiByte(CP_UTF8, 0, characters.data(), static_cast<int>(characters.size()),
                        bytes.data(), size, nullptr, nullptr);
    return bytes;
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

// The file when it is a device rather than a file on a disk; INVALID_HANDLE_VALUE otherwise.
HANDLE openDeviceForWriting(const std::wstring& path) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE || GetFileType(file) != FILE_TYPE_DISK) return file;
    CloseHandle(file);
    return INVALID_HANDLE_VALUE;
}

bool isRunning(DWORD processId) {
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, processId);
    if (process == nullptr) return GetLastError() == ERROR_ACCESS_DENIED;
    const bool running = WaitForSingleObject(process, 0) == WAIT_TIMEOUT;
    CloseHandle(process);
    return running;
}

// Removes the temporary files of the file that launches ended before they could move them into
// place (killed, or the machine stopped). A writer that still runs is left alone, and so is a
// recent file, which a launch on another machine sharing the directory may be writing.
void removeStaleTemporaryFiles(const std::string& path) {
    const std::size_t separator = path.find_last_of("\\/:");
    const std::string directory =
        separator == std::string::npos ? "" : path.substr(0, separator + 1);
    const std::string name = path.substr(directory.size());
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((wide(path) + L".*.tmp").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    const auto ticks = [](const FILETIME& time) {
        return (static_cast<std::uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
    };
    constexpr std::uint64_t kOneMinute = 60ull * 10'000'000;
    do {
        const std::optional<std::uint32_t> writer =
            temporaryWriter(name, narrow(found.cFileName, wcslen(found.cFileName)));
        if (!writer || ticks(found.ftLastWriteTime) + kOneMinute > ticks(now)) continue;
        if (*writer != GetCurrentProcessId() && isRunning(*writer)) continue;
        const std::wstring stale = wide(directory) + found.cFileName;
        SetFileAttributesW(stale.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(stale.c_str());
    } while (FindNextFileW(search, &found));
    FindClose(search);
}

bool isDiskFull(DWORD error) { return error == ERROR_DISK_FULL || error == ERROR_HANDLE_DISK_FULL; }

HANDLE openForReading(const std::string& path) {
    return CreateFileW(wide(path).c_str(), GENERIC_READ,
                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                       OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

// The system may start no program at a path of MAX_PATH characters or more; the path's short form
// may be short enough. The path itself when it has none that fits: the system then says why not.
std::wstring startablePath(const std::wstring& path) {
    if (path.size() < MAX_PATH) return path;
    const DWORD size = GetShortPathNameW(path.c_str(), nullptr, 0);
    if (size == 0) return path;
    std::wstring shortPath(size, L'\0');
    shortPath.resize(GetShortPathNameW(path.c_str(), shortPath.data(), size));
    return shortPath.size() < MAX_PATH ? shortPath : path;
}

// Why a program at a long path did not start, when the system's own reason does not say.
std::string startFailure(DWORD error, const std::string& name, const std::wstring& program) {
    std::string reason = systemErrorText(error, name);
    if (program.size() >= MAX_PATH) {
        reason += "; its path is " + std::to_string(program.size()) +
                  " characters long, and the system may start no program at a path of " +
                  std::to_string(MAX_PATH) + " characters or more";
    }
    return reason;
}

// Writes to a console as characters, whatever its code page; to a file or a pipe as UTF-8.
void print(DWORD which, FILE* stream, const std::string& text) {
    HANDLE handle = GetStdHandle(which);
    DWORD mode = 0;
    if (GetConsoleMode(handle, &mode)) {
        std::fflush(stream);
        const std::wstring characters = wide(withWindowsLineEnds(text));
        DWORD written = 0;
        WriteConsoleW(handle, characters.data(), static_cast<DWORD>(characters.size()), &written,
                      nullptr);
        return;
    }
    const std::string bytes = asUtf8(text);
    std::fwrite(bytes.data(), 1, bytes.size(), stream);
}

// Text that a Windows call writes into a buffer. The call returns the length written; when the
// buffer is too small, the size it needs or (GetModuleFileName) the whole buffer; 0 on failure.
template <typename Call>
std::optional<std::wstring> textFrom(Call call) {
    std::wstring text(MAX_PATH, L'\0');
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

// The directories in the order in which starting a program by its bare name looks in them: this
// program's own, the current one, the system directories, then PATH.
std::wstring programSearchPath() {
    std::wstring path;
    auto append = [&path](const std::optional<std::wstring>& directory) {
        if (directory && !directory->empty()) path += *directory + L";";
    };
    const std::optional<std::wstring> module = textFrom(
        [](wchar_t* buffer, DWORD size) { return GetModuleFileNameW(nullptr, buffer, size); });
    if (module) append(module->substr(0, module->find_last_of(L"\\/")));
    append(
        textFrom([](wchar_t* buffer, DWORD size) { return GetCurrentDirectoryW(size, buffer); }));
    append(textFrom([](wchar_t* buffer, DWORD size) { return GetSystemDirectoryW(buffer, size); }));
    const std::optional<std::wstring> windows =
        textFrom([](wchar_t* buffer, DWORD size) { return GetWindowsDirectoryW(buffer, size); });
    if (windows) append(*windows + L"\\System");
    append(windows);
    append(textFrom([](wchar_t* buffer, DWORD size) {
        return GetEnvironmentVariableW(L"PATH", buffer, size);
    }));
    return path;
}

std::optional<std::wstring> searchProgram(const std::wstring& name) {
    const std::wstring searchPath = programSearchPath();
    return textFrom([&](wchar_t* buffer, DWORD size) {
        return SearchPathW(searchPath.c_str(), name.c_str(), L".exe", size, buffer, nullptr);
    });
}

// How many of the bytes one MultiByteToWideChar call converts: all of them when an int counts
// them, else a piece that ends after a space or a control character, which no code page uses
// inside a multi-byte character (or the largest piece, in a run of that length with neither).
std::size_t ansiPieceLength(std::string_view bytes) {
    constexpr std::size_t kMostPerCall = INT_MAX;
    if (bytes.size() <= kMostPerCall) return bytes.size();
    for (std::size_t end = kMostPerCall; end > 0; --end) {
        if (static_cast<unsigned char>(bytes[end - 1]) <= ' ') return end;
    }
    return kMostPerCall;
}

}  // namespace

std::optional<std::string> getEnvironmentVariable(const std::string& name) {
    const std::wstring wideName = wide(name);
    SetLastError(ERROR_SUCCESS);
    DWORD size = GetEnvironmentVariableW(wideName.c_str(), nullptr, 0);
    if (size == 0) {
        if (GetLastError() == ERROR_ENVVAR_NOT_FOUND) return std::nullopt;
        return std::string();
    }
    // The value can change between the two calls only through this thread; retry if it grew.
    for (;;) {
        std::wstring value(size, L'\0');
        const DWORD length = GetEnvironmentVariableW(wideName.c_str(), value.data(), size);
        if (length < size) {
            value.resize(length);
            return narrow(value);
        }
        size = length;
    }
}

bool setEnvironmentVariable(const std::string& name, const std::string& value) {
    return SetEnvironmentVariableW(wide(name).c_str(), wide(value).c_str()) != 0;
}

std::string ansiToUtf8(std::string_view bytes) {
    // The system's own ANSI code page: the manifest makes CP_ACP UTF-8 for this process, but a
    // file that is not UTF-8 was written in the code page of the system.
    UINT codePage = 0;
    if (GetLocaleInfoW(LOCALE_SYSTEM_DEFAULT, LOCALE_IDEFAULTANSICODEPAGE | LOCALE_RETURN_NUMBER,
                       reinterpret_cast<wchar_t*>(&codePage),
                       sizeof codePage / sizeof(wchar_t)) == 0 ||
        codePage == 0) {
        codePage = CP_ACP;
    }
    std::wstring units;
    while (!bytes.empty()) {
        // The length is given, so a NUL byte converts like any other. With no flags the call
        // fails only on arguments out of range, which these are not.
        const int length = static_cast<int>(ansiPieceLength(bytes));
        const int count = MultiByteToWideChar(codePage, 0, bytes.data(), length, nullptr, 0);
        const std::size_t used = units.size();
        units.resize(used + static_cast<std::size_t>(count));
        MultiByteToWideChar(codePage, 0, bytes.data(), length, units.data() + used, count);
        bytes.remove_prefix(static_cast<std::size_t>(length));
    }
    return narrow(units);
}

bool opensForReading(const std::string& path) {
    HANDLE file = openForReading(path);
    if (file == INVALID_HANDLE_VALUE) return false;
    CloseHandle(file);
    return true;
}

bool statusReadable(const std::string& path) {
    return GetFileAttributesW(wide(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::optional<std::string> readWholeFile(const std::string& path) {
    HANDLE file = openForReading(path);
    if (file == INVALID_HANDLE_VALUE) return std::nullopt;
    std::string content;
    std::size_t used = 0;
    bool failed = false;
    for (;;) {
        content.resize(used + 65536);
        DWORD count = 0;
        if (!ReadFile(file, content.data() + used, 65536, &count, nullptr)) {
            failed = true;
            break;
        }
        if (count == 0) break;
        used += count;
    }
    CloseHandle(file);
    if (failed) return std::nullopt;
    content.resize(used);
    return content;
}

FileWrite replaceTextFile(const std::string& path, const std::string& text) {
    const std::wstring target = wide(path);
    const std::string bytes = withWindowsLineEnds(asUtf8(text));
    // A device (NUL, CON) cannot be replaced by a move; it takes the text as it comes.
    if (HANDLE device = openDeviceForWriting(target); device != INVALID_HANDLE_VALUE) {
        const bool written = writeAll(device, bytes);
        return CloseHandle(device) && written ? FileWrite::done : FileWrite::writeFailed;
    }
    // A move replaces a read-only file all the same; its owner meant it to stay as it is.
    const DWORD attributes = GetFileAttributesW(target.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
        return FileWrite::cannotOpen;
    }
    removeStaleTemporaryFiles(path);
    // Beside the file, so that the move stays on one volume; named after this process, so that
    // launches side by side never share one.
    const std::wstring name = wide(temporaryNameFor(path, GetCurrentProcessId()));
    HANDLE file = CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return isDiskFull(GetLastError()) ? FileWrite::writeFailed : FileWrite::cannotOpen;
    }
    TemporaryFile temporary(name, [](const std::wstring& path) { DeleteFileW(path.c_str()); });
    const bool written = writeAll(file, bytes) && FlushFileBuffers(file);
    if (!CloseHandle(file) || !written) return FileWrite::writeFailed;
    // Another launch may be moving its own log into place at this moment; the system then refuses
    // for a short while.
    for (int attempt = 0;; ++attempt) {
        if (MoveFileExW(temporary.path().c_str(), target.c_str(),
                        MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
            temporary.commit();
            return FileWrite::done;
        }
        const DWORD error = GetLastError();
        const bool busy = error == ERROR_ACCESS_DENIED || error == ERROR_SHARING_VIOLATION;
        if (!busy || attempt == 50 ||
            GetFileAttributesW(target.c_str()) & FILE_ATTRIBUTE_DIRECTORY) {
            return isDiskFull(error) ? FileWrite::writeFailed : FileWrite::cannotOpen;
        }
        Sleep(10);
    }
}

void printToStandardOutput(const std::string& text) { print(STD_OUTPUT_HANDLE, stdout, text); }

void printToStandardError(const std::string& text) { print(STD_ERROR_HANDLE, stderr, text); }

void OwnedHandle::reset() {
    if (handle_ != nullptr) CloseHandle(handle_);
    handle_ = nullptr;
}

ChildStart startSuspended(const StartSettings& settings, const std::string& programPath,
                          const std::string& commandLine) {
    std::fflush(stdout);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    if (settings.inheritStandardHandles) {
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdInput = inheritableStandardHandle(STD_INPUT_HANDLE);
        startup.hStdOutput = inheritableStandardHandle(STD_OUTPUT_HANDLE);
        startup.hStdError = inheritableStandardHandle(STD_ERROR_HANDLE);
    }
    const std::string name =
        settings.searchForProgram ? commandLine.substr(0, commandLine.find(' ')) : programPath;
    std::wstring program;
    if (!settings.searchForProgram) {
        program = wide(programPath);
    } else if (const std::optional<std::wstring> found = searchProgram(wide(name));
               found && found->size() >= MAX_PATH) {
        // Found as the system's search finds it, so that a program at a long path can be started
        // from its short form; at a short one, the search is left to the system.
        program = *found;
    }
    const std::wstring startable = startablePath(program);
    // Every child is born in a job that ends it with this process, so that a launcher ended
    // before it lets the child run never leaves it suspended for ever: this process joins the job
    // first, and its child is in it from its creation (one assigned after its creation would stay
    // suspended if this process were ended in between). Where jobs cannot be nested (before
    // Windows 8), the child runs without one.
    OwnedHandle job = joinKillOnCloseJob();
    std::wstring mutableCommandLine = wide(commandLine);
    PROCESS_INFORMATION process{};
    const bool created = startingAgainOnInternalError([&] {
        return CreateProcessW(startable.empty() ? nullptr : startable.c_str(),
                              mutableCommandLine.data(), nullptr, nullptr,
                              settings.inheritStandardHandles ? TRUE : FALSE, CREATE_SUSPENDED,
                              nullptr, nullptr, &startup, &process);
    });
    if (!created) {
        const DWORD error = GetLastError();
        keepRunningWithoutThisProcess(job.get());
        return ChildStart{std::nullopt, startFailure(error, name, program)};
    }
    return ChildStart{SuspendedChild{OwnedHandle(process.hProcess), OwnedHandle(process.hThread),
                                     std::move(job), settings.killOnCloseJob},
                      {}};
}

std::uint32_t resumeAndWait(SuspendedChild child) {
    ResumeThread(child.thread.get());
    // Once it runs, a child that need not end with this process is out of the job's hold.
    if (!child.killOnCloseWhileRunning) keepRunningWithoutThisProcess(child.job.get());
    WaitForSingleObject(child.process.get(), INFINITE);
    DWORD status = 1;
    GetExitCodeProcess(child.process.get(), &status);
    // The child ended by itself: what it left running is its own and outlives the launcher.
    keepRunningWithoutThisProcess(child.job.get());
    return status;
}

void discardChild(SuspendedChild child) {
    TerminateProcess(child.process.get(), 1);
    WaitForSingleObject(child.process.get(), INFINITE);
    keepRunningWithoutThisProcess(child.job.get());
}

std::optional<std::string> findProgram(const std::string& name) {
    const std::optional<std::wstring> found = searchProgram(wide(name));
    if (!found) return std::nullopt;
    return narrow(*found);
}

void rebindStandardInputToConsole() {
    SECURITY_ATTRIBUTES inheritable{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    HANDLE console = CreateFileW(L"CONIN$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ,
                                 &inheritable, OPEN_EXISTING, 0, nullptr);
    if (console != INVALID_HANDLE_VALUE) SetStdHandle(STD_INPUT_HANDLE, console);
}

}  // namespace platform
