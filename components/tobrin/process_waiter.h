// Waits on a started program, and on every process it starts, from a thread
// of its own, and tells the dialog how far they have got.
#pragma once

#include <windows.h>

#include "catalogue/unique_handle.h"

namespace corvel::tobrin {

// Posted to the dialog when the started program and every process it
// started have ended.
inline constexpr UINT kProgramEndedMessage = 2026;
// Posted when the started program has ended but processes it started still
// run: the real installer of a launcher, or the application an installer
// started at its end.
inline constexpr UINT kOthersRemainMessage = 2027;

class ProcessWaiter {
public:
    ProcessWaiter() = default;
    ~ProcessWaiter();
    ProcessWaiter(const ProcessWaiter&) = delete;
    ProcessWaiter& operator=(const ProcessWaiter&) = delete;

    // Creates the cancel event and the job to start the program in; false
    // on failure.
    bool Create(HWND window);
    // The job the program is to be started in.
    HANDLE Job() const { return job_.get(); }
    // Takes over process, started in Job(), and starts the waiting thread;
    // false (the handle closed) when the thread cannot be started.
    bool Start(HANDLE process);
    // Whether the waiting thread is still alive, that is, a process of the
    // job runs.
    bool Waiting() const;
    // Lets the waiting thread go; the processes themselves keep running.
    void Stop();

private:
    HWND window_ = nullptr;
    UniqueHandle cancel_;
    UniqueHandle job_;
    UniqueHandle port_;
    UniqueHandle thread_;
};

}  // namespace corvel::tobrin
