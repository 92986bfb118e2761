// The hand-over to the graphical front end.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "args/launcher_options.h"
#include "core/command_line.h"
#include "core/result.h"
#include "platform/platform.h"

// The front end's program name, the first word of its command line.
inline constexpr const char* kFrontEndName = "kivogui";

// The user options as the front end receives them: framed by \" on each side, space-separated.
std::string frameUserOptions(const std::vector<std::string>& userOptions);

// The front end's command line, composed from the options.
std::string composeGuiCommandLine(const std::string& supportPath, const LauncherOptions& options);

// The front end, found by the system's search, and its command line; fails when the line is too
// long for the platform.
Result<ChildCommand> prepareGuiHandOver(const std::string& supportPath,
                                        const LauncherOptions& options);

// The front end as the system's search finds it from here, through the PATH already set; none when
// the search finds nothing.
std::optional<std::string> locateFrontEnd();

// Makes the console standard input, runs the front end and waits for it.
platform::ChildResult launchGui(const ChildCommand& frontEnd);

// The launcher's exit status after the front end: the front end's, or 1 when it could not be
// started.
std::uint32_t guiExitStatus(const platform::ChildResult& frontEnd);
