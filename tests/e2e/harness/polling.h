// Waiting and failure reporting shared by the harness.
#pragma once

#include <chrono>
#include <functional>
#include <stdexcept>

namespace corvel::e2e {

// Thrown when the program under test cannot be driven (timeouts, missing
// controls, remote memory failures); GoogleTest reports it as a failure.
class HarnessError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

using std::chrono::milliseconds;
using std::chrono::seconds;

// Long enough for a cold Wine start of a GUI program.
inline constexpr milliseconds kStartTimeout = seconds(20);
inline constexpr milliseconds kStepTimeout = seconds(10);

// Checks condition until it holds or timeout passes; true when it held.
bool WaitUntil(const std::function<bool()>& condition, milliseconds timeout);

}  // namespace corvel::e2e
