// Deletes a folder with everything in it, for tests that clean up after
// themselves. Links are removed, never followed.
#pragma once

#include <windows.h>

#include <string>

namespace corvel::testing {

inline void RemoveTree(const std::wstring& folder) {
    WIN32_FIND_DATAW entry;
    HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &entry);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            std::wstring name = entry.cFileName;
            if (name == L"." || name == L"..") continue;
            std::wstring child = folder + L"\\" + name;
            SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
            DWORD attributes = entry.dwFileAttributes;
            if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
                DeleteFileW(child.c_str());
            } else if (attributes & FILE_ATTRIBUTE_REPARSE_POINT) {
                RemoveDirectoryW(child.c_str());
            } else {
                RemoveTree(child);
            }
        } while (FindNextFileW(find, &entry));
        FindClose(find);
    }
    RemoveDirectoryW(folder.c_str());
}

}  // namespace corvel::testing
