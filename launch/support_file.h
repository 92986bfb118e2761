// The design's simulation image, found under kivo/ by the launcher's own name.
#pragma once

#include <string>

#include "core/file_probe.h"
#include "core/result.h"

// The relative path of the simulation image for the launcher invoked as `programName`.
std::string deriveSupportPath(const std::string& programName);

// The two messages of a support file whose status cannot be read.
std::string supportFileMissingMessage(const std::string& supportPath);

// Passes when the status of the support file can be read.
Result<void> checkSupportFile(const std::string& supportPath, const FileProbe& statusReadable);
