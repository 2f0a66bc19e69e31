// Existence tests and whole-file reading and writing. Paths are full paths in
// code page 936. Windows builds only. Existence is judged in the native
// system folder for paths under System32 (native_system.h).
#pragma once

#include <string>
#include <string_view>

namespace corvel {

// An existing entry that is not a folder; false for an empty path.
bool FileExists(const std::string& path);

// An existing folder, or the root of a local drive written "X:" or "X:\".
// Network drives and drives without a root do not count.
bool FolderExists(const std::string& path);
// The same for a wide path, which may hold any character.
bool FolderExists(const std::wstring& path);

// Creates the file or truncates it and writes data. False when it cannot be
// opened or written.
bool WriteWholeFile(const std::string& path, std::string_view data);

// Creates every missing level of a folder path. True when it existed or the
// last level was created; false for "" or a path with "\\" inside.
bool CreateFolderPath(const std::string& path);

// Reads whole files into one buffer that lives until the next read.
class FileReader {
public:
    // The text of the file up to its first NUL byte, or nullptr when the path
    // is not an existing file, cannot be read, or the file is empty.
    const std::string* Read(const std::string& path);

private:
    std::string buffer_;
};

}  // namespace corvel
