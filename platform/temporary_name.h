// The name of the temporary file a log is written to before it is moved into place: the log's
// name, the writing process's id and ".tmp". The id tells whether its writer still runs.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

inline std::string temporaryNameFor(std::string_view file, std::uint32_t processId) {
    return std::string(file) + "." + std::to_string(processId) + ".tmp";
}

// The process that wrote a temporary file of this file, when the candidate's name is one; none
// for every other name.
inline std::optional<std::uint32_t> temporaryWriter(std::string_view file,
                                                    std::string_view candidate) {
    constexpr std::string_view suffix = ".tmp";
    if (candidate.size() <= file.size() + 1 + suffix.size() ||
        candidate.substr(0, file.size()) != file || candidate[file.size()] != '.' ||
        candidate.substr(candidate.size() - suffix.size()) != suffix) {
        return std::nullopt;
    }
    const std::string_view digits =
        candidate.substr(file.size() + 1, candidate.size() - file.size() - 1 - suffix.size());
    if (digits.size() > 10) return std::nullopt;
    std::uint64_t id = 0;
    for (const char digit : digits) {
        if (digit < '0' || digit > '9') return std::nullopt;
        id = id * 10 + static_cast<std::uint64_t>(digit - '0');
    }
    if (id > UINT32_MAX) return std::nullopt;
    return static_cast<std::uint32_t>(id);
}

}  // namespace platform
