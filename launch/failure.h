#pragma once

#include <string>

// Prints the message and a line feed to standard output and ends the launch with status 1.
[[noreturn]] void failLaunch(const std::string& message);
