#include "engine/install_worker_win32.h"

#include <objbase.h>

#include "catalogue/no_throw.h"

namespace corvel {

InstallWorker::InstallWorker() : stop_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}

InstallWorker::~InstallWorker() {
    EndTask(kEndTaskWait | kEndTaskWaitLimited);
}

bool InstallWorker::Running() const {
    return thread_ && WaitForSingleObject(thread_.get(), 0) == WAIT_TIMEOUT;
}

bool InstallWorker::Start(std::function<void()> task) {
    if (!stop_ || Running()) return false;
    // The ended thread of the previous task is replaced.
    thread_.reset();
    task_ = std::move(task);
    ResetEvent(stop_.get());
    thread_.reset(CreateThread(nullptr, 0, ThreadMain, this, 0, nullptr));
    return thread_.valid();
}

bool InstallWorker::StopRequested() const {
    return stop_ && WaitForSingleObject(stop_.get(), 0) == WAIT_OBJECT_0;
}

int InstallWorker::EndTask(unsigned bits, const std::function<bool()>& askUser) {
    if (!Running()) return kNoTaskRunning;
    if ((bits & kEndTaskAsk) && askUser && !askUser()) return kTaskKept;
    SetEvent(stop_.get());
    SetThreadPriority(thread_.get(), THREAD_PRIORITY_ABOVE_NORMAL);
    if (bits & kEndTaskWait) {
        // A component that never returns keeps its thread: end it rather
        // than the program's close.
        if (!WaitForEnd((bits & kEndTaskWaitLimited) ? kEndTaskWaitLimit : INFINITE))
            TerminateThread(thread_.get(), static_cast<DWORD>(-1));
    }
    return kTaskStopping;
}

bool InstallWorker::WaitForEnd(DWORD milliseconds) const {
    return !thread_ || WaitForSingleObject(thread_.get(), milliseconds) != WAIT_TIMEOUT;
}

DWORD WINAPI InstallWorker::ThreadMain(LPVOID selfData) {
    auto* self = static_cast<InstallWorker*>(selfData);
    HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    // A task cut short by an exception ends as one that was stopped.
    DWORD code = NoThrow<DWORD>(1, [self] {
        self->task_();
        return 0;
    });
    if (SUCCEEDED(com)) CoUninitialize();
    return code;
}

}  // namespace corvel
