#include "app/launch_switches.h"

#include "platform/platform.h"

bool switchIsOn(const std::optional<std::string>& value) {
    return value && !value->empty() && *value != "0";
}

LaunchSwitches readLaunchSwitches() {
    return {switchIsOn(platform::getEnvironmentVariable("KIVOLAUNCH_TRACE")),
            switchIsOn(platform::getEnvironmentVariable("KIVOLAUNCH_DRYRUN"))};
}
