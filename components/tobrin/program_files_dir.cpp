#include "program_files_dir.h"

#include <windows.h>

namespace corvel::tobrin {

namespace {

constexpr wchar_t kKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion";
constexpr wchar_t kValue[] = L"ProgramFilesDir";

// Plain storage: the mend runs from DllMain, where no destructor order or
// lock may be relied on.
constexpr DWORD kMaxChars = 1024;
wchar_t g_saved[kMaxChars];
volatile LONG g_changed = 0;

void WriteSaved() {
    if (g_saved[0]) WriteProgramFilesDir(g_saved);
}

}  // namespace

bool ReadProgramFilesDir(std::wstring& value) {
    wchar_t buffer[kMaxChars] = {};
    DWORD size = sizeof buffer;
    if (RegGetValueW(HKEY_LOCAL_MACHINE, kKey, kValue, RRF_RT_REG_SZ, nullptr, buffer, &size) != ERROR_SUCCESS)
        return false;
    value = buffer;
    return true;
}

void WriteProgramFilesDir(const std::wstring& value) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kKey, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) return;
    RegSetValueExW(key, kValue, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
}

void KeepSavedProgramFilesDir(const std::wstring& saved) {
    InterlockedExchange(&g_changed, 0);
    std::size_t count = saved.size() < kMaxChars ? saved.size() : 0;
    saved.copy(g_saved, count);
    g_saved[count] = L'\0';
}

void NoteProgramFilesDirChanged() {
    InterlockedExchange(&g_changed, 1);
}

void RestoreSavedProgramFilesDir() {
    InterlockedExchange(&g_changed, 0);
    WriteSaved();
}

void MendProgramFilesDir() {
    if (InterlockedExchange(&g_changed, 0)) WriteSaved();
}

}  // namespace corvel::tobrin
