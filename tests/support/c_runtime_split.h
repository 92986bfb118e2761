// How the Microsoft C runtime splits a command line into argv, for checking what the launcher
// writes: space and tab separate words outside quotes; 2n backslashes and a quote give n
// backslashes and toggle quoting; 2n+1 backslashes and a quote give n backslashes and a literal
// quote; backslashes not before a quote are literal; inside quotes, two quotes give one literal
// quote and quoting goes on. Program names such as "kivotcl" split the same under the runtime's
// rules for argv[0].
#pragma once

#include <string>
#include <string_view>
#include <vector>

inline std::vector<std::string> splitLikeTheCRuntime(std::string_view line) {
    std::vector<std::string> words;
    std::size_t i = 0;
    const std::size_t n = line.size();
    for (;;) {
        while (i < n && (line[i] == ' ' || line[i] == '\t')) ++i;
        if (i == n) break;
        std::string word;
        bool inQuotes = false;
        while (i < n && (inQuotes || (line[i] != ' ' && line[i] != '\t'))) {
            if (line[i] == '\\') {
                std::size_t backslashes = 0;
                while (i < n && line[i] == '\\') {
                    ++backslashes;
                    ++i;
                }
                if (i < n && line[i] == '"') {
                    word.append(backslashes / 2, '\\');
                    if (backslashes % 2 == 1) {
                        word += '"';
                        ++i;
                    }
                } else {
                    word.append(backslashes, '\\');
                }
            } else if (line[i] == '"') {
                if (inQuotes && i + 1 < n && line[i + 1] == '"') {
                    word += '"';
                    i += 2;
                } else {
                    inQuotes = !inQuotes;
                    ++i;
                }
            } else {
                word += line[i++];
            }
        }
        words.push_back(word);
    }
    return words;
}
