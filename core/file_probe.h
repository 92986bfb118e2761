// How a rule asks the system about files, so that a test can answer instead.
#pragma once

#include <functional>
#include <optional>
#include <string>

// True when the file is there in the sense the rule needs (it opens, or its status reads).
using FileProbe = std::function<bool(const std::string& path)>;

// The whole content of a file; none when it cannot be opened or read.
using FileReader = std::function<std::optional<std::string>(const std::string& path)>;
