// Files for the rules that probe them: a set of present files, and every path looked at, in order.
#pragma once

#include <set>
#include <string>
#include <vector>

#include "core/file_probe.h"

struct FakeFiles {
    std::set<std::string> present;
    std::vector<std::string> probed;

    FileProbe probe() {
        return [this](const std::string& file) {
            probed.push_back(file);
            return present.count(file) > 0;
        };
    }
};
