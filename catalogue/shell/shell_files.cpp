#include "catalogue/shell/shell_files.h"

#include <windows.h>

#include "catalogue/long_path.h"
#include "catalogue/paths.h"
#include "catalogue/shell/native_system.h"
#include "catalogue/unique_handle.h"
#include "catalogue/win32_text.h"

namespace corvel {

namespace {

bool IsAsciiLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

DWORD AttributesOf(std::string_view path) {
    std::wstring wide = WideLongPath(path);
    if (wide.empty()) return INVALID_FILE_ATTRIBUTES;
    return GetFileAttributesW(wide.c_str());
}

bool IsLocalDriveRoot(const std::wstring& path) {
    bool driveForm = path.size() >= 2 && path[0] < 0x80 && IsAsciiLetter(static_cast<char>(path[0])) &&
                     path[1] == L':' && (path.size() == 2 || (path.size() == 3 && path[2] == L'\\'));
    if (!driveForm) return false;
    const wchar_t root[] = {path[0], L':', L'\\', L'\0'};
    switch (GetDriveTypeW(root)) {
        case DRIVE_REMOVABLE:
        case DRIVE_FIXED:
        case DRIVE_CDROM:
        case DRIVE_RAMDISK:
            return true;
        default:
            return false;
    }
}

}  // namespace

bool FileExists(const std::string& path) {
    if (path.empty()) return false;
    DWORD attributes = AttributesOf(NativePath(path));
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool FolderExists(const std::string& path) {
    return FolderExists(WideFromCp936(NativePath(path)));
}

bool FolderExists(const std::wstring& path) {
    if (path.empty()) return false;
    if (path.size() <= 3) return IsLocalDriveRoot(path);
    std::wstring folder = path;
    if (folder.back() == L'\\') folder.pop_back();
    DWORD attributes = GetFileAttributesW(LongPathFromWide(folder).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool WriteWholeFile(const std::string& path, std::string_view data) {
    std::wstring wide = WideLongPath(path);
    if (wide.empty()) return false;
    UniqueFile file(
        CreateFileW(wide.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) return false;
    bool written = true;
    while (written && !data.empty()) {
        DWORD chunk = data.size() > (1u << 30) ? (1u << 30) : static_cast<DWORD>(data.size());
        DWORD put = 0;
        written = WriteFile(file.get(), data.data(), chunk, &put, nullptr) && put == chunk;
        data.remove_prefix(put);
    }
    return file.Close() && written;
}

bool CreateFolderPath(const std::string& path) {
    if (HasDoubledBackslash(path)) return false;
    std::wstring wide = WideFromCp936(path);
    if (wide.empty()) return false;
    if (FolderExists(path)) return true;
    // Intermediate levels may exist already or be a drive root: ignore them.
    for (std::size_t slash = wide.find(L'\\'); slash != std::wstring::npos; slash = wide.find(L'\\', slash + 1)) {
        std::wstring level = LongPathFromWide(wide.substr(0, slash + 1));
        if (slash + 1 == wide.size()) return CreateDirectoryW(level.c_str(), nullptr) != 0;
        CreateDirectoryW(level.c_str(), nullptr);
    }
    return CreateDirectoryW(LongPathFromWide(wide).c_str(), nullptr) != 0;
}

const std::string* FileReader::Read(const std::string& path) {
    std::string().swap(buffer_);
    if (!FileExists(path)) return nullptr;
    UniqueFile file(CreateFileW(WideLongPath(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file.valid()) return nullptr;
    LARGE_INTEGER size;
    if (!GetFileSizeEx(file.get(), &size) || size.QuadPart <= 0 || size.QuadPart > 0x7FFFFFFF) return nullptr;
    std::string data(static_cast<std::size_t>(size.QuadPart), '\0');
    std::size_t done = 0;
    while (done < data.size()) {
        DWORD got = 0;
        if (!ReadFile(file.get(), data.data() + done, static_cast<DWORD>(data.size() - done), &got, nullptr)) {
            return nullptr;
        }
        if (got == 0) break;  // the file shrank while we read it
        done += got;
    }
    data.resize(done);
    // Callers treat the file as text, which ends at its first NUL byte.
    std::size_t nul = data.find('\0');
    if (nul != std::string::npos) data.resize(nul);
    buffer_ = std::move(data);
    return &buffer_;
}

}  // namespace corvel
