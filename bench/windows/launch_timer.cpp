// The whole-launch benchmark's clock: one long-lived process that starts two command lines in
// turn, RUNS times each, times every start-to-exit with the performance counter, and prints the
// median wall time of each and their ratio. Being one process, it pays Wine's own start-up once,
// not once per measured launch.
//
// usage: launch_timer RUNS PROGRAM_A COMMAND_LINE_A PROGRAM_B COMMAND_LINE_B
// A is the launch under test, B the floor. The children's standard handles are the NUL device,
// and each must exit with status 0.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

struct Subject {
    const char* program;
    std::string commandLine;
    std::vector<double> milliseconds;
};

HANDLE nulDevice() {
    SECURITY_ATTRIBUTES inheritable{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    return CreateFileA("NUL", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                       &inheritable, OPEN_EXISTING, 0, nullptr);
}

// Starts the subject once and waits for it; false when it cannot start or exits non-zero.
bool timeOnce(Subject& subject, HANDLE nul, double ticksPerMillisecond, bool keep) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = startup.hStdOutput = startup.hStdError = nul;
    std::string commandLine = subject.commandLine;
    PROCESS_INFORMATION process{};

    LARGE_INTEGER start, end;
    QueryPerformanceCounter(&start);
    if (!CreateProcessA(subject.program, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr,
                        nullptr, &startup, &process)) {
        std::printf("cannot start %s (error %lu)\n", subject.program, GetLastError());
        return false;
    }
    WaitForSingleObject(process.hProcess, INFINITE);
    QueryPerformanceCounter(&end);

    DWORD status = 1;
    GetExitCodeProcess(process.hProcess, &status);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    if (status != 0) {
        std::printf("%s exited with status %lu\n", subject.commandLine.c_str(), status);
        return false;
    }
    if (keep) {
        subject.milliseconds.push_back(static_cast<double>(end.QuadPart - start.QuadPart) /
                                       ticksPerMillisecond);
    }
    return true;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

void report(const char* label, const Subject& subject) {
    const auto [low, high] =
        std::minmax_element(subject.milliseconds.begin(), subject.milliseconds.end());
    std::printf("%-8s median %8.3f ms   min %8.3f ms   max %8.3f ms   %s\n", label,
                median(subject.milliseconds), *low, *high, subject.commandLine.c_str());
}

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc == 6 ? std::atoi(argv[1]) : 0;
    if (runs < 1) {
        std::printf("usage: launch_timer RUNS PROGRAM_A COMMAND_LINE_A PROGRAM_B COMMAND_LINE_B\n");
        return 2;
    }
    Subject launch{argv[2], argv[3], {}};
    Subject bare{argv[4], argv[5], {}};
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    const double ticksPerMillisecond = static_cast<double>(frequency.QuadPart) / 1000.0;
    HANDLE nul = nulDevice();

    // One untimed start of each warms the file cache and Wine's loader; then the two alternate,
    // the one that goes first changing every round.
    bool ok = timeOnce(launch, nul, ticksPerMillisecond, false) &&
              timeOnce(bare, nul, ticksPerMillisecond, false);
    for (int round = 0; ok && round < runs; ++round) {
        Subject& first = round % 2 == 0 ? launch : bare;
        Subject& second = round % 2 == 0 ? bare : launch;
        ok = timeOnce(first, nul, ticksPerMillisecond, true) &&
             timeOnce(second, nul, ticksPerMillisecond, true);
    }
    if (!ok) return 1;

    std::printf("%d launches of each, alternating\n", runs);
    report("launch", launch);
    report("floor", bare);
    const double launchMedian = median(launch.milliseconds);
    const double floorMedian = median(bare.milliseconds);
    std::printf("ratio launch/floor %.3f   difference %.3f ms\n", launchMedian / floorMedian,
                launchMedian - floorMedian);
    return 0;
}
