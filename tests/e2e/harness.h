// A compile directory for whole launches under Windows: the launcher copied in as tb.exe, the
// design's simulation image, and two installation roots. Launches are typed into a batch file
// and run by cmd.exe, so the launcher sees its command line exactly as a user types it.
#pragma once

#include <windows.h>

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "tests/support/root_layout.h"

namespace e2e {

// What a stand-in recorded about one start.
struct Record {
    std::string program;  // "kivotcl" or "kivogui"
    DWORD pid = 0;
    std::string module;
    std::string commandLine;
    std::vector<std::string> args;
    std::map<std::string, std::optional<std::string>> environment;  // PATH, VELDRA_DSP, ...
    // The same as the wide calls see them, as UTF-8 (WTF-8 where they hold a lone surrogate).
    std::string wideModule;
    std::string wideCommandLine;
    std::vector<std::string> wideArgs;
    std::map<std::string, std::optional<std::string>> wideEnvironment;
    std::string directory;
    // The names of its environment variables that are PATH in some spelling, in block order.
    std::vector<std::string> pathNames;
    bool interrupted = false;
    DWORD spawned = 0;  // the helper it started, if any
};

struct Outcome {
    std::string output;         // standard output, and error unless it was captured apart; bytes
    std::string standardError;  // standard error, when captured apart
    std::uint32_t status = 0;
};

// Environment changes for a launch: a value sets the variable, none removes it.
using EnvironmentChanges = std::map<std::string, std::optional<std::string>>;

// The standard handles a program is started with.
struct StandardHandles {
    HANDLE input = nullptr;
    HANDLE output = nullptr;
    HANDLE error = nullptr;
};

class CompileDirectory {
  public:
    // A fresh directory named after the running test and numbered, a copy of the one that
    // tools/compile-dir laid out when the tests were built: tb.exe, kivo/tb.exe.sim/tb.exe, rootA
    // (the kernel stand-in) and rootB (the DSP library). VELDRA names rootA;rootB, VELDRA_DSP is
    // unset and the stand-ins record into record.txt.
    CompileDirectory();

    const std::string& path() const { return path_; }
    std::string at(const std::string& relative) const;  // the Windows path of a file in here
    std::string rootA() const { return at("rootA"); }
    std::string rootB() const { return at("rootB"); }
    std::string kernelUnder(const std::string& root) const;

    void writeFile(const std::string& relative, const std::string& bytes) const;
    std::optional<std::string> readFile(const std::string& relative) const;
    bool exists(const std::string& relative) const;
    // The names of the files here that match the pattern ("*.tmp"), sorted.
    std::vector<std::string> filesNamed(const std::string& pattern) const;
    void remove(const std::string& relative) const;
    void makeDirectory(const std::string& relative) const;
    // Puts the stand-in front end at a relative place (a directory that ends up on PATH).
    void installFrontEnd(const std::string& relativeDirectory) const;
    void installKernel(const std::string& root) const;

    // The environment every launch starts from; tests change it before launching.
    EnvironmentChanges environment;

    // Runs the command through a batch file and cmd.exe /c; waits for it.
    Outcome type(const std::string& command) const;
    // The same, with standard error captured apart from standard output.
    Outcome typeWithErrorApart(const std::string& command) const;
    // Starts tb.exe here directly (no shell) with the command line; waits for it. The launch runs
    // in this directory, or in the Windows directory given.
    Outcome startLauncher(const std::string& commandLine, const std::string& directory = "") const;
    // Starts the program here (tb.exe unless named) directly by CreateProcessW, as a shell or an
    // IDE does, with the command line given as UTF-8 (WTF-8 for a lone surrogate) and exactly that
    // UTF-16 command line; the environment's values are UTF-8 too. Waits for it.
    Outcome startWide(const std::string& commandLine, const std::string& program = "tb.exe",
                      const std::string& directory = "") const;
    std::vector<Record> records() const;

    // Starts tb.exe here directly with the command line, without waiting; the caller closes the
    // handles. Its standard handles are the ones given (a null one is closed), or else NUL.
    PROCESS_INFORMATION startLauncherInBackground(
        const std::string& commandLine, DWORD creationFlags = 0,
        const std::optional<StandardHandles>& handles = std::nullopt) const;

  private:
    std::string path_;
    std::string binDirectory_;
    std::string writeBatchFile(const std::string& command) const;
    // Starts the program (found by the search when empty) with exactly the UTF-16 command line and
    // waits for it, standard output and error read through a pipe or error apart.
    Outcome start(const std::wstring& program, std::wstring commandLine,
                  const std::string& directory, bool errorApart) const;
    // The one way a program is started here: with this directory's environment and the standard
    // handles given, in the directory (this one when empty). Reports a failure to the test and
    // yields no process then.
    std::optional<PROCESS_INFORMATION> launch(const std::wstring& program, std::wstring commandLine,
                                              const std::string& directory, HANDLE input,
                                              HANDLE output, HANDLE error,
                                              DWORD creationFlags = 0) const;
    std::wstring environmentBlock() const;
    Outcome collect(HANDLE readEnd, const PROCESS_INFORMATION& process) const;
};

// The NUL device, as a handle a started program can inherit; the caller closes it.
HANDLE inheritableNul();

// The pid the kernel recorded once its record is complete; 0 when none came in time or the
// launcher ended first.
DWORD waitForKernel(const CompileDirectory& dir, HANDLE launcher);

// Processes whose parent is the given process.
std::vector<DWORD> childrenOf(DWORD parent);

// UTF-8 (WTF-8) as UTF-16, and back: file names and command lines outside the ANSI code page.
std::wstring wide(const std::string& text);
std::string fromWide(const std::wstring& text);

// The PATH that launches start from, where a test needs to know it exactly.
inline const std::string kOldPath = "C:\\windows\\system32;C:\\windows";

// What the kernel receives before the user's arguments.
inline std::vector<std::string> kernelPrefix() {
    return {"kivotcl", "-exe", "kivo/tb.exe.sim/tb.exe"};
}

inline std::vector<std::string> concat(std::vector<std::string> a,
                                       const std::vector<std::string>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

using ::rootEntries;

// The run log of a launch typed so.
inline std::string logText(const std::string& typed) {
    return "Kivo log file\r\nRunning: " + typed + " \r\n";
}

// What kivo.log holds before a launch that must fail and leave it alone.
inline const std::string kEarlierLog = "earlier log";

// The launch left no trace in the directory: nothing started, kivo.log still holding kEarlierLog,
// and other.log (where a -log option names it) not created.
void expectNothingStarted(const CompileDirectory& dir, const std::string& label = "");

// A launch that failed cleanly: status 1, exactly the message, and nothing started.
void expectFailedLaunch(const CompileDirectory& dir, const Outcome& outcome,
                        const std::string& message, const std::string& label = "");

// A command file whose 40 arguments of 1,000 characters make a command line over the platform's
// limit.
inline std::string argumentsOverTheCommandLineLimit() {
    std::string commandFile;
    for (int i = 0; i < 40; ++i) commandFile += std::string(1000, 'a' + i % 26) + "\n";
    return commandFile;
}

}  // namespace e2e
