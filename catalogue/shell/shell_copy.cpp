#include "shell_copy.h"

#include <windows.h>

#include <algorithm>
#include <vector>

#include "long_path.h"
#include "shell_files.h"
#include "win32_text.h"

namespace corvel {

namespace {

// Entry names come from the file system as UTF-16 and may hold characters
// that code page 936 lacks, so the tree is walked in UTF-16.

std::wstring WithBackslash(std::wstring path) {
    if (path.empty() || path.back() != L'\\') path += L'\\';
    return path;
}

bool IsFolder(const std::wstring& path) {
    DWORD attributes = GetFileAttributesW(LongPathFromWide(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool CopyInto(const std::wstring& sourceFile, const std::wstring& targetFolder, bool failIfExists) {
    std::size_t slash = sourceFile.rfind(L'\\');
    std::wstring name = slash == std::wstring::npos ? sourceFile : sourceFile.substr(slash + 1);
    std::wstring target = WithBackslash(targetFolder) + name;
    return CopyFileW(LongPathFromWide(sourceFile).c_str(), LongPathFromWide(target).c_str(), failIfExists) != 0;
}

// The folder's real path, through any links and short names, upper-cased;
// empty when it cannot be opened.
std::wstring RealFolderPath(const std::wstring& folder) {
    HANDLE handle = CreateFileW(LongPathFromWide(WithBackslash(folder)).c_str(), 0,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return {};
    std::wstring path(MAX_PATH, L'\0');
    DWORD length = GetFinalPathNameByHandleW(handle, path.data(), static_cast<DWORD>(path.size()), 0);
    if (length >= path.size()) {
        path.resize(length + 1);
        length = GetFinalPathNameByHandleW(handle, path.data(), static_cast<DWORD>(path.size()), 0);
    }
    CloseHandle(handle);
    if (length == 0 || length >= path.size()) return {};
    path.resize(length);
    CharUpperBuffW(path.data(), length);
    return WithBackslash(path);
}

bool IsSameOrInside(const std::wstring& folder, const std::wstring& outer) {
    std::wstring inner = RealFolderPath(folder);
    std::wstring container = RealFolderPath(outer);
    // Unknown real paths: refuse rather than risk copying a folder into itself.
    if (inner.empty() || container.empty()) return true;
    return inner.compare(0, container.size(), container) == 0;
}

struct FolderId {
    DWORD volume = 0;
    DWORD high = 0;
    DWORD low = 0;
    bool operator==(const FolderId&) const = default;
};

bool IdOfFolder(const std::wstring& folder, FolderId& id) {
    HANDLE handle =
        CreateFileW(LongPathFromWide(folder).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return false;
    BY_HANDLE_FILE_INFORMATION info;
    bool ok = GetFileInformationByHandle(handle, &info) != 0;
    CloseHandle(handle);
    if (ok) id = {info.dwVolumeSerialNumber, info.nFileIndexHigh, info.nFileIndexLow};
    return ok;
}

// seen holds the target and the folders being copied, so that a link the
// file system does not mark (Wine shows host symbolic links as plain
// folders) still cannot lead the copy round in a circle.
void CopyTree(const std::wstring& source, const std::wstring& target, bool failIfExists, std::vector<FolderId>& seen) {
    std::wstring from = WithBackslash(source);
    std::wstring into = WithBackslash(target);
    WIN32_FIND_DATAW entry;
    HANDLE find = FindFirstFileW(LongPathFromWide(from + L"*.*").c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE) return;
    do {
        std::wstring name = entry.cFileName;
        if (name == L"." || name == L"..") continue;
        if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
            CopyInto(from + name, into, failIfExists);
            continue;
        }
        // A linked folder may point back up the tree; never enter one.
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) continue;
        FolderId id;
        if (!IdOfFolder(from + name, id) || std::find(seen.begin(), seen.end(), id) != seen.end()) continue;
        std::wstring sub = into + name;
        if (!CreateDirectoryW(LongPathFromWide(sub).c_str(), nullptr) && !IsFolder(sub)) continue;
        seen.push_back(id);
        CopyTree(from + name, sub, failIfExists, seen);
        seen.pop_back();
    } while (FindNextFileW(find, &entry));
    FindClose(find);
}

}  // namespace

bool CopyFileIntoFolder(const std::string& sourceFile, const std::string& targetFolder, bool failIfExists) {
    if (!FileExists(sourceFile) || !FolderExists(targetFolder)) return false;
    return CopyInto(WideFromCp936(sourceFile), WideFromCp936(targetFolder), failIfExists);
}

bool CopyFolderTree(const std::string& sourceFolder, const std::string& targetFolder, bool failIfExists) {
    if (!FolderExists(sourceFolder) || !FolderExists(targetFolder)) return false;
    std::wstring source = WideFromCp936(sourceFolder);
    std::wstring target = WideFromCp936(targetFolder);
    if (IsSameOrInside(target, source)) return false;
    std::vector<FolderId> seen(2);
    if (!IdOfFolder(WithBackslash(target), seen[0]) || !IdOfFolder(WithBackslash(source), seen[1])) return false;
    CopyTree(source, target, failIfExists, seen);
    return true;
}

}  // namespace corvel
