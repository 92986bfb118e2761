// The launcher's only door to the operating system. Everything that reads or changes the
// environment, touches a file, starts a process or ends this one goes through here.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// Text crosses this door as UTF-8 (WTF-8, so that names and arguments that Windows allows but
// UTF-16 cannot validate, a lone surrogate, survive); the Windows side converts to and from
// UTF-16 here and nowhere else.
// The launch, which the entry point above every stage defines. The platform's start of the program
// calls it with the arguments as typed, program name first (on Windows, the C runtime's split of
// the wide command line), and ends the process with the status it returns.
int launch(const std::vector<std::string>& typed);

namespace platform {

// Limit of the platform on a command line and on an environment value, in UTF-16 units, the
// terminating NUL included.
constexpr std::size_t kMaxCommandLine = 32767;
constexpr std::size_t kMaxEnvironmentValue = 32767;

// Environment variables of this process; what they are set to, the started program inherits.
std::optional<std::string> getEnvironmentVariable(const std::string& name);
bool setEnvironmentVariable(const std::string& name, const std::string& value);

// True when the file can be opened for reading.
bool opensForReading(const std::string& path);

// True when the file status of the path can be read.
bool statusReadable(const std::string& path);

// The whole content of a file, read as bytes; none when it cannot be opened or read.
std::optional<std::string> readWholeFile(const std::string& path);

// The bytes read in the system's ANSI code page, as WTF-8; every byte, NUL included, yields text.
std::string ansiToUtf8(std::string_view bytes);

enum class FileWrite { done, cannotOpen, writeFailed };

// Replaces the file whole with the text, line feeds written as the system's line ends: the text
// goes to a temporary file beside it, is flushed, and is then moved over the file. On any failure
// the file is left as it was and the temporary file is removed. Temporary files of the file that
// ended launches left behind are removed first. A device (NUL, CON) is written to as it is.
// cannotOpen: the temporary file cannot be created or the file cannot be replaced (its directory
// is missing, it is a directory, it is read-only or held open); writeFailed: a write, flush or
// close failed (a full disk).
FileWrite replaceTextFile(const std::string& path, const std::string& text);

// Writes text to standard output: to a console as characters, to a file or a pipe as UTF-8.
void printToStandardOutput(const std::string& text);

// Writes text to standard error, as standard output is written.
void printToStandardError(const std::string& text);

// Flushes standard output and ends the process with the status.
[[noreturn]] void exitProcess(std::uint32_t status);

// From now on this process ignores the console interrupt (Ctrl+C); the processes it starts still
// receive it.
void ignoreInterrupts();

// A handle of the system, closed when its owner lets go of it; empty when null.
class OwnedHandle {
  public:
    OwnedHandle() = default;
    explicit OwnedHandle(void* handle) : handle_(handle) {}
    OwnedHandle(OwnedHandle&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
    OwnedHandle& operator=(OwnedHandle&& other) noexcept {
        if (this != &other) {
            reset();
            handle_ = std::exchange(other.handle_, nullptr);
        }
        return *this;
    }
    ~OwnedHandle() { reset(); }

    void* get() const { return handle_; }
    // Closes the handle now, if there is one.
    void reset();

  private:
    void* handle_ = nullptr;
};

// How the started program meets this process.
struct StartSettings {
    // It receives this process's standard handles, files and pipes included, and its console.
    bool inheritStandardHandles = false;
    // The program is found by the system's usual search from the first word of the command line;
    // otherwise it is started from the program file as given.
    bool searchForProgram = false;
    // Every child is in a job that ends it if this process is killed before it runs, so that none
    // is left suspended for ever. With this set, it stays there while it runs: killing this
    // process ends it and what it started; once it has ended by itself, what it started is left
    // running. Without it, it leaves the job's hold once it runs.
    bool killOnCloseJob = false;

    bool operator==(const StartSettings&) const = default;
};

// A program created suspended: none of its code has run yet. Its owner either resumes it or
// discards it; its handles close themselves.
struct SuspendedChild {
    OwnedHandle process;
    OwnedHandle thread;
    OwnedHandle job;  // this process is in it too
    bool killOnCloseWhileRunning = false;
};

struct ChildStart {
    std::optional<SuspendedChild> child;  // none when the system could not create it
    std::string error;                    // then the system's reason
};

// Creates the program suspended, with the command line.
ChildStart startSuspended(const StartSettings& settings, const std::string& programPath,
                          const std::string& commandLine);

// Lets the child run, waits for it and yields its exit status.
std::uint32_t resumeAndWait(SuspendedChild child);

// Ends a child that must not run.
void discardChild(SuspendedChild child);

// The file that starting a program by its bare name finds: this program's directory, the
// current directory, the system directories, then PATH; none when it finds nothing.
std::optional<std::string> findProgram(const std::string& name);

// Makes the console input device this process's standard input; a failure is ignored.
void rebindStandardInputToConsole();

// The calls that the launch's stages make on the system, gathered so that a test can stand in for
// it.
struct System {
    std::function<bool(const std::string& path)> statusReadable;
    std::function<FileWrite(const std::string& path, const std::string& text)> replaceTextFile;
    std::function<ChildStart(const StartSettings& settings, const std::string& programPath,
                             const std::string& commandLine)>
        startSuspended;
    std::function<std::uint32_t(SuspendedChild child)> resumeAndWait;
    std::function<void(SuspendedChild child)> discardChild;
    std::function<void()> ignoreInterrupts;
    std::function<void()> rebindStandardInputToConsole;
};

// This process's system: the functions above.
inline System thisSystem() {
    return {statusReadable,
            replaceTextFile,
            startSuspended,
            resumeAndWait,
            discardChild,
            ignoreInterrupts,
            rebindStandardInputToConsole};
}

}  // namespace platform
