// What an installation root holds where, and the names of the programs the launcher starts.
#pragma once

#include <string>

// The platform's directory under bin\ and lib\ of an installation root.
inline constexpr const char* kPlatformDir = "nt64";

// The kernel's program name, argument 0 of its command line; its file is this with ".exe".
inline constexpr const char* kKernelName = "kivotcl";

// The front end's program name, the first word of its command line.
inline constexpr const char* kFrontEndName = "kivogui";

// "\bin\nt64", relative to an installation root.
inline std::string platformBinDirectory() { return std::string("\\bin\\") + kPlatformDir; }

// "\lib\nt64", relative to an installation root.
inline std::string platformLibDirectory() { return std::string("\\lib\\") + kPlatformDir; }

// The DSP library's directory, relative to an installation root.
inline std::string dspBinDirectory() { return "\\quillo" + platformBinDirectory(); }
