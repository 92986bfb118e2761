#include "app/dry_run.h"

#include "launch/gui_handover.h"

std::string programShown(const ChildCommand& child,
                         const std::optional<std::string>& frontEndFound) {
    if (!child.program.empty()) return child.program;
    return frontEndFound.value_or(std::string(kFrontEndName) + " (not found)");
}

std::vector<std::string> handOverLines(const std::string& program, const std::string& commandLine) {
    return {"program: " + program, "command line: " + commandLine};
}

std::string dryRunText(const std::vector<std::string>& handOver,
                       const std::vector<EnvironmentSetting>& variables) {
    std::string text;
    for (const std::string& line : handOver) text += line + "\n";
    for (const EnvironmentSetting& variable : variables) {
        text += variable.name + "=" + variable.value + "\n";
    }
    return text;
}
