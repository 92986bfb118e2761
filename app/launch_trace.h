// The trace of a launch: what the launcher found and decided, one line each, on standard error.
// The lines are composed from the values the steps yield; only the writer touches the stream.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include "args/command_files.h"
#include "args/launcher_options.h"
#include "launch/runtime_environment.h"

inline constexpr const char* kTracePrefix = "kivolaunch: ";

std::string startedLine(const std::string& version, const std::string& typedName);
std::string supportFileLine(const std::string& supportPath, bool found);
// VELDRA, each installation root and what it holds, the kernel chosen, VELDRA_DSP and PATH.
std::vector<std::string> environmentLines(const RuntimeEnvironment& environment);
std::vector<std::string> commandFileLines(const std::vector<CommandFileRead>& filesRead);
// The mode, -tclbatch, -view, -open, -wdb and the log file.
std::vector<std::string> optionLines(const LauncherOptions& options);
// "program: ..." and "command line: ...", the hand-over as the trace and the dry run show it.
std::vector<std::string> handOverLines(const std::string& program, const std::string& commandLine);
// The dry run's last line.
std::string nothingStartedLine();
// `what` names the started program for the reader.
std::string endedLine(const std::string& what, std::uint32_t status, std::chrono::milliseconds ran);
std::string notStartedLine(const std::string& what, const std::string& error);

// The lines as written: each after the prefix, followed by a line feed.
std::string traceText(const std::vector<std::string>& lines);

// Writes trace lines to standard error when the trace is on, and nothing otherwise.
class LaunchTrace {
  public:
    explicit LaunchTrace(bool on) : on_(on) {}

    bool on() const { return on_; }
    void write(const std::vector<std::string>& lines) const;

  private:
    bool on_;
};
