// A component for the host tests. Its answers come from environment variables
// named after its own file name, so one build copied under several names gives
// several differently behaving components:
//   CORVEL_PROBE_<NAME>_OPEN  answer of Open (default 1)
//   CORVEL_PROBE_<NAME>_INIT  result of Initialize (default 1)
//   CORVEL_PROBE_LOG          file to which every call is appended, one line each
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <cwctype>
#include <string>

#include "components/component_interface.h"

namespace {

HMODULE self = nullptr;
std::wstring name;  // file name without extension, upper case

std::wstring Env(const std::wstring& variable) {
    wchar_t buffer[1024];
    DWORD length = GetEnvironmentVariableW(variable.c_str(), buffer, 1024);
    return length > 0 && length < 1024 ? std::wstring(buffer, length) : std::wstring();
}

int EnvNumber(const wchar_t* suffix, int fallback) {
    std::wstring value = Env(L"CORVEL_PROBE_" + name + suffix);
    return value.empty() ? fallback : static_cast<int>(std::wcstol(value.c_str(), nullptr, 10));
}

void Log(const std::string& line) {
    std::wstring path = Env(L"CORVEL_PROBE_LOG");
    if (path.empty()) return;
    HANDLE file = CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    std::string text;
    for (wchar_t c : name) text += static_cast<char>(c);
    text += ' ' + line + '\n';
    DWORD written = 0;
    WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(file);
}

std::string Handle(HWND window) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%llx", static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(window)));
    return buffer;
}

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    if (reason == DLL_PROCESS_ATTACH) {
        self = instance;
        // Room for a path past MAX_PATH: the host may load from deep folders.
        std::wstring file(32768, L'\0');
        file.resize(GetModuleFileNameW(self, file.data(), static_cast<DWORD>(file.size())));
        file = file.substr(file.find_last_of(L"\\/") + 1);
        file = file.substr(0, file.find_last_of(L'.'));
        for (wchar_t& c : file) c = static_cast<wchar_t>(std::towupper(c));
        name = file;
    } else if (reason == DLL_PROCESS_DETACH && reserved == nullptr) {
        Log("Detach");  // FreeLibrary, not process end
    }
    return TRUE;
}

extern "C" int __stdcall Initialize(HWND mainFrame) {
    Log("Initialize " + Handle(mainFrame));
    return EnvNumber(L"_INIT", 1);
}

extern "C" int __stdcall Open(HWND owner, const char* itemName, const char* filePath, const char* parameters,
                              const char* installFolder, int stepKind) {
    Log("Open " + Handle(owner) + "|" + itemName + "|" + filePath + "|" + parameters + "|" + installFolder + "|" +
        std::to_string(stepKind));
    return EnvNumber(L"_OPEN", 1);
}

extern "C" void __stdcall PreUnloadDll() {
    Log("PreUnloadDll");
}
