#include <windows.h>

#include "file_handle.h"
#include "file_io.h"
#include "win32_text.h"

namespace corvel {

std::optional<TextBlock> ReadWholeFile(const std::string& path) {
    std::wstring wide = WideFromCp936(path);
    if (wide.empty()) return std::nullopt;
    FileHandle file(CreateFileW(wide.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file.valid()) return std::nullopt;
    LARGE_INTEGER size;
    if (!GetFileSizeEx(file.get(), &size) || size.QuadPart > 0x7FFFFFFF) return std::nullopt;
    TextBlock data(static_cast<std::size_t>(size.QuadPart));  // no bytes filled in before they are read
    std::size_t done = 0;
    while (done < data.Size()) {
        DWORD got = 0;
        if (!ReadFile(file.get(), data.Data() + done, static_cast<DWORD>(data.Size() - done), &got, nullptr)) {
            return std::nullopt;
        }
        if (got == 0) break;  // the file shrank while we read it
        done += got;
    }
    data.Shorten(done);
    return data;
}

bool ReplaceFileContents(const std::string& path, std::string_view data) {
    std::wstring wide = WideFromCp936(path);
    if (wide.empty()) return false;
    std::wstring temp = WideFromCp936(ReplacementFileOf(path));
    FileHandle file(CreateFileW(temp.c_str(), GENERIC_WRITE | DELETE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
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
    written = written && (!deletePending ||
                          SetFileInformationByHandle(file.get(), FileDispositionInfo, &dispose, sizeof dispose));
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
