// Waits on a started program from a thread of its own and tells the dialog
// when the program has ended.
#pragma once

#include <windows.h>

namespace corvel::tobrin {

// Posted to the dialog when the started program has ended.
inline constexpr UINT kProgramEndedMessage = 2026;

class ProcessWaiter {
public:
    ProcessWaiter() = default;
    ~ProcessWaiter();
    ProcessWaiter(const ProcessWaiter&) = delete;
    ProcessWaiter& operator=(const ProcessWaiter&) = delete;

    // Creates the cancel event; false on failure.
    bool Create(HWND window);
    // Takes over process and starts the waiting thread; false (the handle
    // closed) when the thread cannot be started.
    bool Start(HANDLE process);
    // Whether the waiting thread is still alive, that is, the program runs.
    bool Waiting() const;
    // Lets the waiting thread go; the program itself keeps running.
    void Stop();

private:
    HWND window_ = nullptr;
    HANDLE cancel_ = nullptr;
    HANDLE thread_ = nullptr;
};

}  // namespace corvel::tobrin
