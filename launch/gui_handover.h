// The hand-over to the graphical front end.
#pragma once

#include <string>

#include "launch/launch_state.h"

// Appends the value, between double quotes when it holds a space.
void appendQuoted(std::string& commandLine, const std::string& value);

// The front end's command line, composed from the options.
std::string composeGuiCommandLine(const LaunchState& state);

// Starts the front end, waits for it and ends the launcher with its exit status.
[[noreturn]] void launchGui(const LaunchState& state);
