#include "catalogue/shell/shell_launch.h"

#include "catalogue/cp936.h"
#include "catalogue/long_path.h"
#include "catalogue/shell/native_system.h"
#include "catalogue/shell/shell_files.h"
#include "catalogue/win32_text.h"

namespace corvel {

namespace {

ShellExecuteFunction g_shellExecute = nullptr;

bool Execute(SHELLEXECUTEINFOW& info) {
    info.cbSize = sizeof info;
    // Helpers never show messages; the caller reports failures itself.
    info.fMask |= SEE_MASK_FLAG_NO_UI;
    return (g_shellExecute ? g_shellExecute : ShellExecuteExW)(&info) != 0;
}

const wchar_t* OrNull(const std::wstring& text) {
    return text.empty() ? nullptr : text.c_str();
}

}  // namespace

std::wstring StartablePath(const std::wstring& path) {
    if (path.size() < MAX_PATH) return path;
    std::wstring prefixed = LongPathFromWide(path);
    DWORD needed = GetShortPathNameW(prefixed.c_str(), nullptr, 0);
    if (needed == 0) return path;
    std::wstring shorter(needed, L'\0');
    DWORD length = GetShortPathNameW(prefixed.c_str(), shorter.data(), needed);
    if (length == 0 || length >= needed) return path;
    shorter.resize(length);
    if (shorter.compare(0, 8, L"\\\\?\\UNC\\") == 0) {
        shorter = L"\\\\" + shorter.substr(8);
    } else if (shorter.compare(0, 4, L"\\\\?\\") == 0) {
        shorter.erase(0, 4);
    }
    return shorter.size() < MAX_PATH ? shorter : path;
}

void SetShellExecuteForTesting(ShellExecuteFunction function) {
    g_shellExecute = function;
}

HANDLE RunProgram(const std::string& file, const std::string& parameters, const std::string& workingFolder,
                  int showMode) {
    std::wstring wideFile = StartablePath(WideFromCp936(NativePath(file)));
    if (wideFile.empty()) return nullptr;
    std::wstring wideParameters = WideFromCp936(parameters);
    std::wstring wideFolder = StartablePath(WideFromCp936(workingFolder));
    SHELLEXECUTEINFOW info = {};
    info.fMask = SEE_MASK_NOCLOSEPROCESS;
    info.lpVerb = L"open";
    info.lpFile = wideFile.c_str();
    info.lpParameters = OrNull(wideParameters);
    info.lpDirectory = OrNull(wideFolder);
    info.nShow = showMode;
    if (!Execute(info)) return nullptr;
    return info.hProcess;
}

bool OpenProgram(HWND owner, const std::string& program, const std::string& parameters) {
    std::wstring wideProgram = WideFromCp936(NativePath(program));
    std::wstring wideParameters = WideFromCp936(parameters);
    if (wideProgram.empty()) return false;
    SHELLEXECUTEINFOW info = {};
    info.hwnd = owner;
    info.lpVerb = L"open";
    info.lpFile = wideProgram.c_str();
    info.lpParameters = OrNull(wideParameters);
    info.nShow = SW_SHOW;
    return Execute(info);
}

std::wstring ExploreSelectParameters(const std::string& path) {
    std::string_view target = path;
    // Explorer would read a backslash before the closing quote as escaping it.
    if (target.size() > 3 && EndsWithChar(target, '\\')) target.remove_suffix(1);
    return L"/select,\"" + WideFromCp936(target) + L"\"";
}

bool ExploreAndSelect(const std::string& path) {
    if (!FileExists(path) && !FolderExists(path)) return false;
    std::wstring parameters = ExploreSelectParameters(path);
    SHELLEXECUTEINFOW info = {};
    info.lpVerb = L"open";
    info.lpFile = L"Explorer.exe";
    info.lpParameters = parameters.c_str();
    info.nShow = SW_SHOWNORMAL;
    return Execute(info);
}

bool ShowProperties(const std::string& path) {
    std::wstring widePath = WideFromCp936(path);
    if (widePath.empty()) return false;
    SHELLEXECUTEINFOW info = {};
    info.fMask = SEE_MASK_INVOKEIDLIST;
    info.lpVerb = L"properties";
    info.lpFile = widePath.c_str();
    info.nShow = SW_SHOW;
    return Execute(info);
}

}  // namespace corvel
