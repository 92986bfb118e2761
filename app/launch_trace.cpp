#include "app/launch_trace.h"

#include "platform/platform.h"

namespace {

std::string holdings(const InstallRoot& root) {
    if (root.holdsKernel && root.holdsDspLibrary) return "the kernel and the DSP library";
    if (root.holdsKernel) return "the kernel";
    if (root.holdsDspLibrary) return "the DSP library";
    // "nothing" speaks of what was sought there: a root after the one holding the kernel is
    // looked at only for the DSP library.
    return root.lookedAt ? "nothing" : "not looked at";
}

std::string optionalValue(const std::optional<std::string>& value) {
    return value.value_or("(none)");
}

// Windows reports a crash as a status such as 0xC0000005, which reads better in hexadecimal.
std::string statusText(std::uint32_t status) {
    std::string text = std::to_string(status);
    if (status >= 0x80000000u) {
        text += " (0x";
        for (int shift = 28; shift >= 0; shift -= 4) {
            text += "0123456789ABCDEF"[(status >> shift) & 0xF];
        }
        text += ")";
    }
    return text;
}

}  // namespace

std::string startedLine(const std::string& version, const std::string& typedName) {
    return "kivolaunch " + version + ", started as " + typedName;
}

std::string supportFileLine(const std::string& supportPath, bool found) {
    return "support file " + supportPath + (found ? ": found" : ": not found");
}

std::vector<std::string> environmentLines(const RuntimeEnvironment& environment) {
    std::vector<std::string> lines;
    if (!environment.kernel.veldraSet) {
        lines.push_back("VELDRA is not set");
    } else if (environment.roots.empty()) {
        lines.push_back("VELDRA names no installation root");
    }
    for (const InstallRoot& root : environment.roots) {
        lines.push_back("installation root " + root.path + ": " + holdings(root));
    }
    lines.push_back("kernel chosen: " +
                    (environment.kernel.found() ? environment.kernel.kernelPath : "none"));
    if (environment.givenDspRoot) {
        lines.push_back("VELDRA_DSP=" + *environment.givenDspRoot + " (given)");
    } else if (environment.dspRoot) {
        lines.push_back("VELDRA_DSP=" + *environment.dspRoot + " (derived from VELDRA)");
    } else {
        lines.push_back("VELDRA_DSP is not set and no installation root holds the DSP library");
    }
    lines.push_back("PATH=" + environment.path);
    return lines;
}

std::vector<std::string> commandFileLines(const std::vector<CommandFileRead>& filesRead) {
    if (filesRead.empty()) return {"no command file"};
    std::vector<std::string> lines;
    for (const CommandFileRead& file : filesRead) {
        lines.push_back("command file " + file.path + ": " + encodingName(file.encoding) + ", " +
                        std::to_string(file.argumentCount) +
                        (file.argumentCount == 1 ? " argument" : " arguments"));
    }
    return lines;
}

std::vector<std::string> optionLines(const LauncherOptions& options) {
    std::vector<std::string> lines{std::string("mode: ") + (options.guiMode ? "GUI" : "kernel"),
                                   "-tclbatch: " + optionalValue(options.tclBatchFile)};
    if (options.viewFiles.empty()) lines.push_back("-view: (none)");
    for (const std::string& view : options.viewFiles) lines.push_back("-view: " + view);
    lines.push_back("-open: " + optionalValue(options.openFile));
    lines.push_back("-wdb: " + optionalValue(options.wdbFile));
    lines.push_back(options.log.disabled ? "log file: none (-nolog)"
                                         : "log file: " + options.log.fileName);
    return lines;
}

std::vector<std::string> handOverLines(const std::string& program, const std::string& commandLine) {
    return {"program: " + program, "command line: " + commandLine};
}

std::string nothingStartedLine() { return "dry run: nothing started"; }

std::string endedLine(const std::string& what, std::uint32_t status,
                      std::chrono::milliseconds ran) {
    return what + " ended with status " + statusText(status) + " after " +
           std::to_string(ran.count()) + " ms";
}

std::string notStartedLine(const std::string& what, const std::string& error) {
    return what + " could not be started: " + error;
}

std::string traceText(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += kTracePrefix + line + "\n";
    return text;
}

void LaunchTrace::write(const std::vector<std::string>& lines) const {
    if (on_) platform::printToStandardError(traceText(lines));
}
