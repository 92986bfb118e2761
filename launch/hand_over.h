// What the launch hands over to, the simulation kernel or the front end, settled once from the
// options: every later step reads it from here.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "args/launcher_options.h"
#include "core/command_line.h"
#include "core/file_probe.h"
#include "core/result.h"
#include "launch/kernel_search.h"
#include "platform/platform.h"

struct HandOver {
    std::string label;  // names what is started for the reader: "the simulation kernel"
    ChildCommand command;
    platform::StartSettings settings;
    // Ctrl+C is the child's to act on: the launcher ignores it from before the start and waits for
    // the child whatever it decides.
    bool ignoreInterrupts = false;
    // The child's standard input is the console, whatever the launcher's own is.
    bool consoleAsStandardInput = false;
    std::string programShown;  // the program as the trace and the dry run name it
    // The message that ends the launch when the system refuses to start the child, from the
    // system's reason; none when the launch then ends with status 1 and no message.
    std::function<std::optional<std::string>(const std::string& error)> failedStartMessage;
};

// The program a hand-over starts, as a dry run and the trace name it: the kernel's path, or the
// front end where the system's search finds it (`frontEndFound`), or its name and "(not found)".
std::string programShown(const ChildCommand& child,
                         const std::optional<std::string>& frontEndFound);

// The hand-over the options ask for: the front end in GUI mode, found through the PATH already set
// by `findProgram`, else the kernel that the search found. Fails as the command line's
// preparation fails.
Result<HandOver> prepareHandOver(const LauncherOptions& options, const KernelSearch& kernel,
                                 const std::string& supportPath, const ProgramFinder& findProgram);
