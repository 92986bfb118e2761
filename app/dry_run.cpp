#include "app/dry_run.h"

std::string dryRunText(const std::vector<std::string>& handOver,
                       const std::vector<EnvironmentSetting>& variables) {
    std::string text;
    for (const std::string& line : handOver) text += line + "\n";
    for (const EnvironmentSetting& variable : variables) {
        text += variable.name + "=" + variable.value + "\n";
    }
    return text;
}
