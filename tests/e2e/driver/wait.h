// Waiting for a condition in the other process: short polling with a deadline, never a fixed
// pause, so a test takes only as long as the program needs.
#pragma once

#include <windows.h>

#include <chrono>

namespace zelvo::e2e {

using Milliseconds = std::chrono::milliseconds;

// Long enough for a slow machine, short enough that a missing window fails quickly.
inline constexpr Milliseconds kTimeout{5000};
// The first start in a fresh Wine prefix builds the font cache.
inline constexpr Milliseconds kStartTimeout{30000};
inline constexpr Milliseconds kPollInterval{10};

// True as soon as condition() is; false when it still is not after the timeout.
template <typename Condition>
bool WaitFor(Condition&& condition, Milliseconds timeout = kTimeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    if (condition()) return true;
    if (std::chrono::steady_clock::now() >= deadline) return false;
    Sleep(static_cast<DWORD>(kPollInterval.count()));
  }
}

}  // namespace zelvo::e2e
