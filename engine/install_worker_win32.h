// The install task's thread and its stop event. At most one task runs; the
// task itself tests the stop event between its steps. Windows only.
#pragma once

#include <windows.h>

#include <functional>

#include "catalogue/unique_handle.h"

namespace corvel {

// Bits of an end-task request: ask the user first, wait for the thread,
// and give up waiting after 5000 ms (the thread is then terminated).
enum EndTaskBits : unsigned { kEndTaskAsk = 1, kEndTaskWait = 2, kEndTaskWaitLimited = 4 };
enum EndTaskAnswer : int { kNoTaskRunning = 0, kTaskKept = 1, kTaskStopping = 2 };
inline constexpr DWORD kEndTaskWaitLimit = 5000;

class InstallWorker {
public:
    InstallWorker();
    // Ends a running task as a closing window does: stop, wait 5000 ms,
    // terminate.
    ~InstallWorker();
    InstallWorker(const InstallWorker&) = delete;
    InstallWorker& operator=(const InstallWorker&) = delete;

    bool Running() const;
    // Clears the stop event and runs task on a new thread, which holds a
    // single-threaded COM apartment for its whole life: components open
    // files through the shell and show the folder browser on it. False
    // when a task still runs or no thread can be made.
    bool Start(std::function<void()> task);
    // Tested by the task between its steps, without waiting.
    bool StopRequested() const;

    // End task: kNoTaskRunning, kTaskKept when askUser answered no, else
    // kTaskStopping (the stop event is signalled and the thread's priority
    // raised; with kEndTaskWait it has ended or been terminated).
    int EndTask(unsigned bits, const std::function<bool()>& askUser = {});
    // True when the thread has ended within milliseconds.
    bool WaitForEnd(DWORD milliseconds) const;

private:
    static DWORD WINAPI ThreadMain(LPVOID self);

    UniqueHandle stop_;
    UniqueHandle thread_;
    std::function<void()> task_;
};

}  // namespace corvel
