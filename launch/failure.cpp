#include "launch/failure.h"

#include "platform/platform.h"

void failLaunch(const std::string& message) {
    platform::printToStandardOutput(message + "\n");
    platform::exitProcess(1);
}
