// The switches that change how a launch reports itself, read from the environment.
#pragma once

#include <optional>
#include <string>

// A switch is on when its variable is set to anything but an empty value or "0".
bool switchIsOn(const std::optional<std::string>& value);

struct LaunchSwitches {
    bool trace = false;   // KIVOLAUNCH_TRACE: every decision on standard error
    bool dryRun = false;  // KIVOLAUNCH_DRYRUN: what would be started, instead of starting it
};

LaunchSwitches readLaunchSwitches();
