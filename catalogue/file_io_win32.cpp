#include <windows.h>

#include "file_handle.h"
#include "file_io.h"
#include "win32_text.h"

namespace corvel {

namespace {

HANDLE OpenForReading(const std::string& path) {
    std::wstring wide = WideFromCp936(path);
    if (wide.empty()) return INVALID_HANDLE_VALUE;
    return CreateFileW(wide.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                       FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
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
    std::wstring wide = WideFromCp936(path);
    if (wide.empty()) return false;
    std::wstring temp = WideFromCp936(ReplacementFileOf(path));
    FileHandle file(
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

void DiscardUnfinishedReplacement(const std::string& path) {
    std::wstring temp = WideFromCp936(ReplacementFileOf(path));
    if (!path.empty() && !temp.empty()) DeleteFileW(temp.c_str());
}

}  // namespace corvel
