// What a dry run prints instead of starting the hand-over.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/command_line.h"
#include "launch/runtime_environment.h"

// The program a hand-over starts, as a dry run and the trace name it: the kernel's path, or the
// front end where the system's search finds it (`frontEndFound`), or its name and "(not found)".
std::string programShown(const ChildCommand& child,
                         const std::optional<std::string>& frontEndFound);

// "program: ..." and "command line: ...".
std::vector<std::string> handOverLines(const std::string& program, const std::string& commandLine);

// The hand-over lines, then NAME=value for each variable the started program would get; each
// line ends in a line feed.
std::string dryRunText(const std::vector<std::string>& handOver,
                       const std::vector<EnvironmentSetting>& variables);
