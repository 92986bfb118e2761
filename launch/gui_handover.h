// The hand-over to the graphical front end.
#pragma once

#include <string>
#include <vector>

#include "args/launcher_options.h"
#include "core/command_line.h"
#include "core/result.h"

// The user options as the front end receives them, one argument: space-separated, between double
// quotes.
std::string frameUserOptions(const std::vector<std::string>& userOptions);

// The front end's command line, composed from the options.
std::string composeGuiCommandLine(const std::string& supportPath, const LauncherOptions& options);

// The front end, found by the system's search, and its command line; fails when the line is too
// long for the platform.
Result<ChildCommand> prepareGuiHandOver(const std::string& supportPath,
                                        const LauncherOptions& options);
