// The parts of the platform layer that the C runtime covers alike on every system.
#include <csignal>
#include <cstdio>
#include <cstdlib>

#include "platform/platform.h"

namespace platform {

void exitProcess(std::uint32_t status) {
    std::fflush(stdout);
    std::exit(static_cast<int>(status));
}

namespace {
// The C runtime restores the default disposition before it calls a handler, so the handler
// registers itself again; otherwise a second Ctrl+C would end the process.
void ignoreInterrupt(int) { std::signal(SIGINT, ignoreInterrupt); }
}  // namespace

void ignoreInterrupts() { std::signal(SIGINT, ignoreInterrupt); }

}  // namespace platform
