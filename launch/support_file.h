// The design's simulation image, found under kivo/ by the launcher's own name.
#pragma once

#include <string>

// The relative path of the simulation image for the launcher invoked as `programName`.
std::string deriveSupportPath(const std::string& programName);

// 0 when the status of the support file can be read; otherwise prints the first of the two
// messages and returns 1.
int checkSupportFile(const std::string& supportPath);

// The message printed after a failed check, before the launch ends.
std::string supportFileMissingMessage(const std::string& supportPath);
