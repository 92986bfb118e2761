// How a rule asks the system about files, so that a test can answer instead.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "platform/platform.h"

// True when the file is there in the sense the rule needs (it opens, or its status reads).
using FileProbe = std::function<bool(const std::string& path)>;

// The whole content of a file; none when it cannot be opened or read.
using FileReader = std::function<std::optional<std::string>(const std::string& path)>;

// Replaces the file whole with the text, or leaves it as it was (platform::replaceTextFile).
using FileReplacer =
    std::function<platform::FileWrite(const std::string& path, const std::string& text)>;

// The program that starting one by its bare name finds; none when the search finds nothing.
using ProgramFinder = std::function<std::optional<std::string>(const std::string& name)>;
