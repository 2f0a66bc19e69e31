#include "components/tobrin/process_waiter.h"

#include <memory>
#include <utility>

#include "catalogue/no_throw.h"
#include "components/tobrin/program_files_dir.h"

namespace corvel::tobrin {

namespace {

// The job's packets carry this key; Stop posts the other one.
constexpr ULONG_PTR kJobKey = 1;
constexpr ULONG_PTR kCancelKey = 2;
// The system does not promise to deliver every packet of a job, and a
// dialog thread that was ended posts none: looked at this often anyway.
constexpr DWORD kRecheckMs = 1000;

struct WaitBlock {
    UniqueHandle process;
    HANDLE cancel;
    HANDLE job;
    HANDLE port;
    // The dialog's thread: if it is ended before the dialog is, nobody else
    // puts the folder values back while the component stays loaded.
    UniqueHandle dialogThread;
    HWND window;
    // Keeps this code mapped until the thread is out of it, even when the
    // host unloads the component meanwhile; FreeLibraryAndExitThread frees it.
    HMODULE module;
};

enum class WaitEnd { Emptied, Cancelled, DialogGone, Failed };

bool JobEmpty(HANDLE job) {
    JOBOBJECT_BASIC_ACCOUNTING_INFORMATION accounting = {};
    return QueryInformationJobObject(job, JobObjectBasicAccountingInformation, &accounting, sizeof accounting,
                                     nullptr) &&
           accounting.ActiveProcesses == 0;
}

WaitEnd WaitForStarted(const WaitBlock& block) {
    HANDLE handles[] = {block.process.get(), block.cancel, block.dialogThread.get()};
    switch (WaitForMultipleObjects(3, handles, FALSE, INFINITE)) {
        case WAIT_OBJECT_0:
            return WaitEnd::Emptied;
        case WAIT_OBJECT_0 + 1:
            return WaitEnd::Cancelled;
        case WAIT_OBJECT_0 + 2:
            return WaitEnd::DialogGone;
    }
    return WaitEnd::Failed;
}

WaitEnd WaitForJob(const WaitBlock& block) {
    HANDLE handles[] = {block.cancel, block.dialogThread.get()};
    for (;;) {
        if (JobEmpty(block.job)) return WaitEnd::Emptied;
        DWORD message = 0;
        ULONG_PTR key = 0;
        OVERLAPPED* overlapped = nullptr;
        bool got = GetQueuedCompletionStatus(block.port, &message, &key, &overlapped, kRecheckMs);
        if (got && key == kJobKey && message == JOB_OBJECT_MSG_ACTIVE_PROCESS_ZERO) return WaitEnd::Emptied;
        if (!got && GetLastError() != WAIT_TIMEOUT) return WaitEnd::Failed;
        switch (WaitForMultipleObjects(2, handles, FALSE, 0)) {
            case WAIT_OBJECT_0:
                return WaitEnd::Cancelled;
            case WAIT_OBJECT_0 + 1:
                return WaitEnd::DialogGone;
        }
    }
}

DWORD WINAPI WaitThread(void* parameter) {
    auto* block = static_cast<WaitBlock*>(parameter);
    WaitEnd end = WaitForStarted(*block);
    if (end == WaitEnd::Emptied && !JobEmpty(block->job)) {
        PostMessageW(block->window, kOthersRemainMessage, 0, 0);
        end = WaitForJob(*block);
    }
    if (end == WaitEnd::Emptied) PostMessageW(block->window, kProgramEndedMessage, 0, 0);
    // Nothing may escape the thread, which must still let go of the module.
    if (end == WaitEnd::DialogGone) NoThrow([] { PutBackFolderValues(); });
    HMODULE module = block->module;
    delete block;
    FreeLibraryAndExitThread(module, 0);
}

}  // namespace

// Without the kill-on-close limit, the processes outlive the job handle.
ProcessWaiter::~ProcessWaiter() {
    Stop();
}

bool ProcessWaiter::Create(HWND window) {
    window_ = window;
    cancel_.reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    job_.reset(CreateJobObjectW(nullptr, nullptr));
    port_.reset(CreateIoCompletionPort(INVALID_HANDLE_VALUE, nullptr, 0, 1));
    if (!cancel_ || !job_ || !port_) return false;
    JOBOBJECT_ASSOCIATE_COMPLETION_PORT association = {reinterpret_cast<void*>(kJobKey), port_.get()};
    if (!SetInformationJobObject(job_.get(), JobObjectAssociateCompletionPortInformation, &association,
                                 sizeof association)) {
        return false;
    }
    // A program that asks to start a process outside any job would fail
    // to start it otherwise; such a process is then not waited for.
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits = {};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_BREAKAWAY_OK;
    return SetInformationJobObject(job_.get(), JobObjectExtendedLimitInformation, &limits, sizeof limits);
}

bool ProcessWaiter::Start(HANDLE process) {
    UniqueHandle started(process);
    UniqueHandle dialogThread(OpenThread(SYNCHRONIZE, FALSE, GetCurrentThreadId()));
    UniqueModule module;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS, reinterpret_cast<LPCWSTR>(&WaitThread), module.put());
    if (!dialogThread || !module) return false;
    std::unique_ptr<WaitBlock> block(new WaitBlock{std::move(started), cancel_.get(), job_.get(), port_.get(),
                                                   std::move(dialogThread), window_, module.get()});
    thread_.reset(CreateThread(nullptr, 0, WaitThread, block.get(), 0, nullptr));
    if (!thread_) return false;
    // The thread owns them now.
    (void)block.release();
    (void)module.release();
    return true;
}

bool ProcessWaiter::Waiting() const {
    DWORD code = 0;
    return thread_ && GetExitCodeThread(thread_.get(), &code) && code == STILL_ACTIVE;
}

void ProcessWaiter::Stop() {
    if (!thread_) return;
    SetEvent(cancel_.get());
    // Wakes the thread at once when it waits on the job's packets.
    PostQueuedCompletionStatus(port_.get(), 0, kCancelKey, nullptr);
    while (Waiting()) Sleep(100);
    ResetEvent(cancel_.get());
    thread_.reset();
}

}  // namespace corvel::tobrin
