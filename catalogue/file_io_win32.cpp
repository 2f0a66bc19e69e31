#include <windows.h>

#include "catalogue/file_io.h"
#include "catalogue/long_path.h"
#include "catalogue/unique_handle.h"

namespace corvel {

namespace {

HANDLE OpenForReading(const std::string& path) {
    std::wstring wide = WideLongPath(path);
    if (wide.empty()) return INVALID_HANDLE_VALUE;
    return CreateFileW(wide.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                       OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
}

}  // namespace

ReadableFile::ReadableFile(const std::string& path) : handle_(reinterpret_cast<std::intptr_t>(OpenForReading(path))) {}

ReadableFile::~ReadableFile() {
    if (IsOpen()) CloseHandle(reinterpret_cast<HANDLE>(handle_));
}

std::optional<std::size_t> ReadableFile::Size() const {
    LARGE_INTEGER size;
    if (!IsOpen() || !GetFileSizeEx(reinterpret_cast<HANDLE>(handle_), &size) || size.QuadPart > 0x7FFFFFFF)
        return std::nullopt;
    return static_cast<std::size_t>(size.QuadPart);
}

std::optional<std::size_t> ReadableFile::Read(char* data, std::size_t size) {
    DWORD got = 0;
    if (!ReadFile(reinterpret_cast<HANDLE>(handle_), data, static_cast<DWORD>(size > 0x7FFFFFFF ? 0x7FFFFFFF : size),
                  &got, nullptr))
        return std::nullopt;
    return got;
}

bool ReplaceFileContents(const std::string& path, std::string_view data) {
    std::wstring wide = WideLongPath(path);
    if (wide.empty()) return false;
    std::wstring temp = WideLongPath(ReplacementFileOf(path));
    UniqueFile file(
        CreateFileW(temp.c_str(), GENERIC_WRITE | DELETE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) return false;
    // Until it is complete the file goes with its handle: a process ended
    // while it writes leaves nothing behind.
    FILE_DISPOSITION_INFO dispose{TRUE};
    bool deletePending = SetFileInformationByHandle(file.get(), FileDispositionInfo, &dispose, sizeof dispose);
    bool written = true;
    std::string_view rest = data;
    while (written && !rest.empty()) {
        DWORD chunk = rest.size() > (1u << 30) ? (1u << 30) : static_cast<DWORD>(rest.size());
        DWORD put = 0;
        written = WriteFile(file.get(), rest.data(), chunk, &put, nullptr) && put == chunk;
        rest.remove_prefix(put);
    }
    written = written && FlushFileBuffers(file.get());
    dispose.DeleteFile = FALSE;  // finished: it stays when its handle closes
    written = written &&
              (!deletePending || SetFileInformationByHandle(file.get(), FileDispositionInfo, &dispose, sizeof dispose));
    if (!file.Close() || !written ||
        !MoveFileExW(temp.c_str(), wide.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        DeleteFileW(temp.c_str());
        return false;
    }
    return true;
}

bool PathExists(const std::string& path) {
    std::wstring wide = WideLongPath(path);
    if (wide.empty()) return false;
    if (GetFileAttributesW(wide.c_str()) != INVALID_FILE_ATTRIBUTES) return true;
    DWORD error = GetLastError();
    return error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND;
}

bool MoveIntoPlace(const std::string& from, const std::string& to) {
    std::wstring source = WideLongPath(from), target = WideLongPath(to);
    return !source.empty() && !target.empty() && MoveFileExW(source.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH);
}

bool RemoveFile(const std::string& path) {
    std::wstring wide = WideLongPath(path);
    return !wide.empty() && DeleteFileW(wide.c_str());
}

}  // namespace corvel
