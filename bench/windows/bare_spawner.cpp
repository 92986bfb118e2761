// The floor of the whole-launch benchmark: starts a program with a command line, waits for it
// and ends with its exit status, and does nothing else.
//
// usage: bare_spawner PROGRAM COMMAND_LINE
#include <windows.h>

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::printf("usage: bare_spawner PROGRAM COMMAND_LINE\n");
        return 2;
    }
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(argv[1], argv[2], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                        &process)) {
        std::printf("bare_spawner: cannot start %s (error %lu)\n", argv[1], GetLastError());
        return 1;
    }
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD status = 1;
    GetExitCodeProcess(process.hProcess, &status);
    return static_cast<int>(status);
}
