#include "catalogue/shell/native_system.h"

#include "catalogue/native_system_folder.h"
#include "catalogue/unique_handle.h"
#include "catalogue/win32_text.h"

namespace corvel {

namespace {

bool AskWow64() {
    // IsWow64Process answers FALSE for x86 code on ARM64; its successor,
    // from Windows 10 1511 on, knows both.
    using IsWow64Process2Fn = BOOL(WINAPI*)(HANDLE, USHORT*, USHORT*);
    auto isWow64Process2 = reinterpret_cast<IsWow64Process2Fn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "IsWow64Process2")));
    if (isWow64Process2) {
        USHORT process = 0, native = 0;
        if (isWow64Process2(GetCurrentProcess(), &process, &native)) return process != IMAGE_FILE_MACHINE_UNKNOWN;
    }
    BOOL wow64 = FALSE;
    return IsWow64Process(GetCurrentProcess(), &wow64) && wow64;
}

}  // namespace

std::string AskedFolder(UINT(WINAPI* query)(LPWSTR, UINT)) {
    UINT size = query(nullptr, 0);
    if (size == 0) return {};
    std::wstring folder(size, L'\0');
    UINT length = query(folder.data(), size);
    if (length == 0 || length >= size) return {};
    folder.resize(length);
    return Cp936FromWide(folder);
}

const std::string& WindowsFolder() {
    // The shared one: Sysnative lies below it, not below a per-user one.
    static const std::string folder = AskedFolder(GetSystemWindowsDirectoryW);
    return folder;
}

bool RunsUnderWow64() {
    static const bool wow64 = AskWow64();
    return wow64;
}

std::string NativePath(const std::string& path) {
    return NativeSystemPath(WindowsFolder(), RunsUnderWow64(), path);
}

bool StartUnredirected(const std::wstring& program, const std::wstring& parameters) {
    std::wstring commandLine = L"\"" + program + L"\" " + parameters;
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started = {};
    // Off for this thread only and only around the start: while it is off,
    // the loading of any 32-bit library on this thread would go wrong too.
    PVOID redirection = nullptr;
    BOOL redirectionOff = Wow64DisableWow64FsRedirection(&redirection);
    BOOL ok = CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                             &startup, &started);
    if (redirectionOff) Wow64RevertWow64FsRedirection(redirection);
    if (!ok) return false;
    UniqueHandle thread(started.hThread), process(started.hProcess);
    return true;
}

}  // namespace corvel
