// Starting a process again when the system refuses with an internal error.
#pragma once

#include <windows.h>

namespace platform {

// A busy system (Wine in particular) now and then refuses to start a process with an internal
// error that a later try does not meet; any other refusal is final. `start` returns nonzero on
// success and leaves the system's error otherwise, which the caller reads as the final one.
template <typename Start>
bool startingAgainOnInternalError(Start start) {
    constexpr int kRetries = 3;
    for (int attempt = 0;; ++attempt) {
        if (start()) return true;
        if (GetLastError() != ERROR_INTERNAL_ERROR || attempt == kRetries) return false;
        Sleep(50);
    }
}

}  // namespace platform
