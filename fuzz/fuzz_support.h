// What the fuzz targets share: a check that ends the run as a crash, and the argument vector
// derived from the fuzzer's bytes.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

[[noreturn]] inline void fuzzCheckFailed(const char* condition, const char* file, int line) {
    std::fprintf(stderr, "%s:%d: invariant broken: %s\n", file, line, condition);
    std::abort();
}

#define FUZZ_CHECK(condition) \
    ((condition) ? static_cast<void>(0) : fuzzCheckFailed(#condition, __FILE__, __LINE__))

// The bytes split at each NUL: a NUL cannot stand inside a C string argument, so every other
// byte may. Always at least one argument (empty bytes give one empty argument).
inline std::vector<std::string> splitAtNul(std::string_view bytes) {
    std::vector<std::string> arguments;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = bytes.find('\0', start);
        arguments.emplace_back(bytes.substr(start, end - start));
        if (end == std::string_view::npos) return arguments;
        start = end + 1;
    }
}

inline std::string_view asText(const std::uint8_t* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}
