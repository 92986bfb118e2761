// The hand-over to the graphical front end.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "args/launcher_options.h"
#include "core/command_line.h"
#include "core/result.h"
#include "launch/install_layout.h"
#include "platform/platform.h"

// The user options as the front end receives them, one argument: space-separated, between double
// quotes.
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

// Makes the console standard input and creates the front end suspended; fails with the system's
// reason when it cannot be started.
Result<platform::SuspendedChild> startGui(const ChildCommand& frontEnd);
