// The native view of the system folder for this process: a 32-bit process
// on 64-bit Windows reaches the real System32 through Sysnative. 64-bit
// builds and 32-bit Windows see System32 as it is. Windows builds only.
#pragma once

#include <windows.h>

#include <string>

namespace corvel {

// A folder that query (GetSystemDirectoryW and its kind) reports, at
// whatever length; empty when the system does not answer or the folder has
// no code page 936 form.
std::string AskedFolder(UINT(WINAPI* query)(LPWSTR, UINT));

// The system's shared Windows folder in code page 936; empty when the system
// does not answer.
const std::string& WindowsFolder();

// A 32-bit process on 64-bit Windows (x64 or ARM64).
bool RunsUnderWow64();

// path with a System32 start mapped to Sysnative where this process needs it.
std::string NativePath(const std::string& path);

// Starts program (a full path) with parameters, the file-system redirection
// of WoW64 off for the start only: some native programs, such as
// <Windows>\regedit.exe, have no Sysnative path. The process is not waited
// for. True when it started.
bool StartUnredirected(const std::wstring& program, const std::wstring& parameters);

}  // namespace corvel
