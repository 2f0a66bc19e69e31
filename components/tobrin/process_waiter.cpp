#include "process_waiter.h"

#include "no_throw.h"
#include "program_files_dir.h"

namespace corvel::tobrin {

namespace {

struct WaitBlock {
    HANDLE process;
    HANDLE cancel;
    // The dialog's thread: if it is ended before the dialog is, nobody else
    // puts the folder values back while the component stays loaded.
    HANDLE dialogThread;
    HWND window;
    WPARAM wParam;
    LPARAM lParam;
    // Keeps this code mapped until the thread is out of it, even when the
    // host unloads the component meanwhile.
    HMODULE module;
};

DWORD WINAPI WaitThread(void* parameter) {
    auto* block = static_cast<WaitBlock*>(parameter);
    HANDLE handles[] = {block->process, block->cancel, block->dialogThread};
    DWORD result = WaitForMultipleObjects(3, handles, FALSE, INFINITE);
    if (result == WAIT_OBJECT_0) PostMessageW(block->window, kProgramEndedMessage, block->wParam, block->lParam);
    // Nothing may escape the thread, which must still let go of the module.
    if (result == WAIT_OBJECT_0 + 2) NoThrow([] { PutBackFolderValues(); });
    CloseHandle(block->process);
    CloseHandle(block->dialogThread);
    HMODULE module = block->module;
    delete block;
    FreeLibraryAndExitThread(module, 0);
}

}  // namespace

ProcessWaiter::~ProcessWaiter() {
    Stop();
    if (cancel_) CloseHandle(cancel_);
}

bool ProcessWaiter::Create(HWND window) {
    window_ = window;
    cancel_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    return cancel_ != nullptr;
}

bool ProcessWaiter::Start(HANDLE process) {
    HANDLE dialogThread = OpenThread(SYNCHRONIZE, FALSE, GetCurrentThreadId());
    HMODULE module = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS, reinterpret_cast<LPCWSTR>(&WaitThread), &module);
    if (dialogThread && module) {
        auto* block = new WaitBlock{process, cancel_, dialogThread, window_, 0, 0, module};
        thread_ = CreateThread(nullptr, 0, WaitThread, block, 0, nullptr);
        if (thread_) return true;
        delete block;
    }
    if (module) FreeLibrary(module);
    if (dialogThread) CloseHandle(dialogThread);
    CloseHandle(process);
    return false;
}

bool ProcessWaiter::Waiting() const {
    DWORD code = 0;
    return thread_ && GetExitCodeThread(thread_, &code) && code == STILL_ACTIVE;
}

void ProcessWaiter::Stop() {
    if (!thread_) return;
    SetEvent(cancel_);
    while (Waiting()) Sleep(100);
    ResetEvent(cancel_);
    CloseHandle(thread_);
    thread_ = nullptr;
}

}  // namespace corvel::tobrin
