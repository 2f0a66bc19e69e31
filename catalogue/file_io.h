// Whole-file reading and safe replacement. Paths are native narrow paths:
// code page 936 on Windows, plain bytes elsewhere.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace corvel {

// A file opened to be read from its start, sharing it with programs that
// hold it open to write or delete it (an editor, a sync client).
class ReadableFile {
public:
    // IsOpen tells whether path could be opened.
    explicit ReadableFile(const std::string& path);
    ~ReadableFile();
    ReadableFile(const ReadableFile&) = delete;
    ReadableFile& operator=(const ReadableFile&) = delete;

    bool IsOpen() const { return handle_ != kClosed; }
    // The size in bytes, or nothing when it cannot be told.
    std::optional<std::size_t> Size() const;
    // Reads at most size bytes into data: how many were read (0 at the
    // file's end), or nothing when reading failed.
    std::optional<std::size_t> Read(char* data, std::size_t size);

private:
    static constexpr std::intptr_t kClosed = -1;
    std::intptr_t handle_ = kClosed;  // a descriptor, or a Windows HANDLE
};

// The temporary file beside path that a replacement writes first.
inline std::string ReplacementFileOf(const std::string& path) {
    return path + ".corvel-tmp";
}

// Writes data to a temporary file in the same folder, flushes it to disk and
// then moves it over path. False, with path untouched, on any failure.
bool ReplaceFileContents(const std::string& path, std::string_view data);

// Whether anything (a file or a folder) may have the name path: false only
// when the system says nothing has it.
bool PathExists(const std::string& path);

// The whole content of the file, or nothing when it cannot be read.
std::optional<std::string> ReadWholeFile(const std::string& path);

// Renames from to to, which must not exist yet. False on any failure.
bool MoveIntoPlace(const std::string& from, const std::string& to);

// Deletes the file; false when it cannot (or does not exist).
bool RemoveFile(const std::string& path);

}  // namespace corvel
