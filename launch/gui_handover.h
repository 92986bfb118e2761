// The hand-over to the graphical front end.
#pragma once

#include <string>

#include "launch/launch_state.h"

// Appends the value, between double quotes when it holds a space.
void appendQuoted(std::string& commandLine, const std::string& value);

// The front end's command line, composed from the options.
std::string composeGuiCommandLine(const LaunchState& state);

// The front end's command line; ends the launch when it is too long for the platform. Runs
// before the run log is written.
std::string prepareGuiCommandLine(const LaunchState& state);

// Starts the front end with the prepared command line, waits for it and ends the launcher with
// its exit status.
[[noreturn]] void launchGui(const std::string& commandLine);
