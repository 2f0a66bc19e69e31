#include "tests/e2e/harness/polling.h"

#include <windows.h>

namespace corvel::e2e {

bool WaitUntil(const std::function<bool()>& condition, milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        if (condition()) return true;
        if (std::chrono::steady_clock::now() >= deadline) return false;
        Sleep(20);
    }
}

}  // namespace corvel::e2e
