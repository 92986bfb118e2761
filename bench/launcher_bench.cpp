// Costs of the launcher's rules: the command-file tokenizer (beside libiberty's buildargv on the
// same text), PATH composition, and the kernel command line.
#include <benchmark/benchmark.h>
#include <libiberty/libiberty.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "args/command_files.h"
#include "core/command_line.h"
#include "launch/runtime_environment.h"
#include "text/wtf8.h"

namespace {

// A small fixed generator, so every run measures the same text.
class Lcg {
  public:
    std::uint32_t next(std::uint32_t bound) {
        state_ = state_ * 6364136223846793005ULL + 1442695040888963407ULL;
        return static_cast<std::uint32_t>(state_ >> 33) % bound;
    }

  private:
    std::uint64_t state_ = 42;
};

// A command file of exactly `size` bytes as regression scripts write them: comments, blank lines,
// options with values, quoted paths with spaces, lines indented and spaced unevenly. No
// backslashes or apostrophes, which buildargv would read as escapes and quotes.
std::string makeCommandFile(std::size_t size) {
    Lcg random;
    std::string text;
    while (true) {
        const std::string n = std::to_string(random.next(1000));
        std::string line;
        switch (random.next(8)) {
            case 0:
                line = "# Options for regression run " + n + " of the core cluster";
                break;
            case 1:
                line = "  -tclbatch scripts/run_" + n + ".tcl";
                break;
            case 2:
                line = "-view \"waves/core " + n + ".wcfg\"   -view waves/bus_" + n + ".wcfg";
                break;
            case 3:
                line = "-wdb results/run_" + n + " -log logs/run_" + n + ".log";
                break;
            case 4:
                line = "-testplusarg SEED=" + n + " -testplusarg VERBOSITY=3";
                break;
            case 5:
                line = "    -L unisims_ver -L secureip   -disabletimeout";
                break;
            case 6:
                line = "-open \"C:/Work Area/project " + n + "/dump.wdb\"";
                break;
            default:
                line = "";
                break;
        }
        if (text.size() + line.size() + 1 > size) break;
        text += line + '\n';
    }
    text.append(size - text.size(), '\n');  // blank lines up to the exact size
    return text;
}

const std::string& commandFile(std::size_t size) {
    static std::map<std::size_t, std::string> files;
    auto [it, added] = files.try_emplace(size);
    if (added) it->second = makeCommandFile(size);
    return it->second;
}

void tokenizerSizes(benchmark::internal::Benchmark* b) {
    b->Arg(1 << 10)->Arg(1 << 20)->Arg(16 << 20)->Complexity(benchmark::oN);
}

void BM_TokenizeCommandFile(benchmark::State& state) {
    const std::string& text = commandFile(static_cast<std::size_t>(state.range(0)));
    std::size_t arguments = 0;
    for (auto _ : state) {
        Result<std::vector<std::string>> tokens = tokenizeCommandFile(text);
        if (!tokens) {
            state.SkipWithError(tokens.failure().message.c_str());
            break;
        }
        arguments = tokens->size();
        benchmark::DoNotOptimize(tokens);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
    state.SetComplexityN(state.range(0));
    state.counters["arguments"] = static_cast<double>(arguments);
}
BENCHMARK(BM_TokenizeCommandFile)->Apply(tokenizerSizes);

void BM_LibibertyBuildargv(benchmark::State& state) {
    const std::string& text = commandFile(static_cast<std::size_t>(state.range(0)));
    std::size_t arguments = 0;
    for (auto _ : state) {
        char** argv = buildargv(text.c_str());
        arguments = 0;
        while (argv[arguments] != nullptr) ++arguments;
        benchmark::DoNotOptimize(argv);
        freeargv(argv);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
    state.SetComplexityN(state.range(0));
    state.counters["arguments"] = static_cast<double>(arguments);
}
BENCHMARK(BM_LibibertyBuildargv)->Apply(tokenizerSizes);

// VELDRA with the given number of roots, the kernel under the last one and the DSP library under
// none, so every root is probed for both.
void BM_ComposeRuntimeEnvironment(benchmark::State& state) {
    std::string veldra;
    for (std::int64_t i = 0; i < state.range(0); ++i) {
        veldra += "C:\\Kivo\\2024.2\\site_" + std::to_string(i) + ";";
    }
    const std::vector<std::string> roots = splitInstallRoots(veldra);
    const std::string kernel = roots.back() + kernelRelativePath();
    const FileProbe isPresent = [&kernel](const std::string& file) { return file == kernel; };
    const std::string oldPath =
        "C:\\Windows\\system32;C:\\Windows;C:\\Windows\\System32\\Wbem;"
        "C:\\Windows\\System32\\WindowsPowerShell\\v1.0\\;C:\\Program Files\\Git\\cmd;"
        "C:\\Program Files\\Python311\\Scripts\\;C:\\Program Files\\Python311\\;"
        "C:\\Users\\regress\\AppData\\Local\\Microsoft\\WindowsApps;";
    std::size_t pathSize = 0;
    for (auto _ : state) {
        RuntimePath path =
            composeRuntimePath(std::nullopt, splitInstallRoots(veldra), oldPath, isPresent);
        KernelSearch kernelSearch = findKernel(veldra, isPresent);
        pathSize = path.path.size();
        benchmark::DoNotOptimize(path);
        benchmark::DoNotOptimize(kernelSearch);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
    state.counters["path_bytes"] = static_cast<double>(pathSize);
}
BENCHMARK(BM_ComposeRuntimeEnvironment)->Arg(1)->Arg(10)->Arg(100);

// A kernel argument vector of 1,000 arguments: options, values, paths with spaces and trailing
// backslashes, embedded quotes, empty arguments.
void BM_BuildKernelCommandLine(benchmark::State& state) {
    Lcg random;
    std::vector<std::string> arguments{"kivotcl", "-exe", "kivo/tb.exe.sim/tb.exe"};
    while (arguments.size() < 1000) {
        const std::string n = std::to_string(random.next(1000));
        switch (random.next(6)) {
            case 0:
                arguments.push_back("-testplusarg");
                arguments.push_back("SEED=" + n);
                break;
            case 1:
                arguments.push_back("-view");
                arguments.push_back("C:\\Work Area\\waves " + n + ".wcfg");
                break;
            case 2:
                arguments.push_back("C:\\results\\run " + n + "\\");
                break;
            case 3:
                arguments.push_back("-define=NAME=\\\"core_" + n + "\\\"");
                break;
            case 4:
                arguments.push_back("");
                break;
            default:
                arguments.push_back("-disabletimeout");
                break;
        }
    }
    arguments.resize(1000);
    std::size_t lineSize = 0;
    for (auto _ : state) {
        std::string commandLine = buildCommandLine(arguments);
        lineSize = commandLine.size();
        benchmark::DoNotOptimize(commandLine);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(arguments.size()));
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(lineSize));
    state.counters["line_bytes"] = static_cast<double>(lineSize);
}
BENCHMARK(BM_BuildKernelCommandLine);

// What the Windows seam adds to a launch: a 16 KB command line, a third of it outside ASCII
// (Greek, CJK, an emoji), to UTF-16 and back, and its length in UTF-16 units.
void BM_ConvertCommandLine(benchmark::State& state) {
    std::string line;
    for (int i = 0; line.size() < 16 * 1024; ++i) {
        line += i % 3 == 0 ? "-view \"wave αβγ 中文 😀 " + std::to_string(i) + ".wcfg\" "
                           : "-testplusarg SEED=" + std::to_string(i) + " ";
    }
    for (auto _ : state) {
        std::u16string units = utf16FromWtf8(line);
        std::string back = wtf8FromUtf16(units);
        std::size_t length = utf16LengthOfWtf8(back);
        benchmark::DoNotOptimize(length);
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(line.size()));
}
BENCHMARK(BM_ConvertCommandLine);

}  // namespace

BENCHMARK_MAIN();
