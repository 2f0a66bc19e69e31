// Starting programs and the shell's own windows. Paths are full paths in
// code page 936. Windows builds only.
#pragma once

#include <windows.h>

#include <shellapi.h>

#include <string>

namespace corvel {

// path itself, or its short (8.3) form when path is too long to start a
// program from or in; neither the shell nor CreateProcess takes such a path,
// not even with the "\\?\" prefix.
std::wstring StartablePath(const std::wstring& path);

// Starts file through the shell verb "open", in the short form of a file or
// folder path that is too long. The new process's handle, which
// the caller closes, or nullptr on failure and when the shell opened the
// file without starting a process.
HANDLE RunProgram(const std::string& file, const std::string& parameters, const std::string& workingFolder,
                  int showMode);

// Opens program, found where the shell looks for it, with parameters as
// they stand and its window shown, owned by owner. True when the shell
// started it.
bool OpenProgram(HWND owner, const std::string& program, const std::string& parameters);

// Opens Explorer on the parent folder with the file or folder selected.
// False when nothing exists at path or the shell refuses.
bool ExploreAndSelect(const std::string& path);

// The text handed to Explorer: /select,"path".
std::wstring ExploreSelectParameters(const std::string& path);

// Opens the shell's properties sheet of path, which then stays open on its
// own. Result of the shell call.
bool ShowProperties(const std::string& path);

// Replaces ShellExecuteExW for this process so tests can see what would be
// handed to the shell; nullptr puts the real one back.
using ShellExecuteFunction = BOOL(WINAPI*)(SHELLEXECUTEINFOW*);
void SetShellExecuteForTesting(ShellExecuteFunction function);

}  // namespace corvel
