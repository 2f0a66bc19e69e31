// A program folder laid out in a fresh temporary directory, removed again
// when the object goes away.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

namespace corvel::e2e {

// The whole file, read while others may write it; empty when it cannot be read.
std::optional<std::string> ReadFileShared(const std::wstring& path);

class ProgramFolder {
public:
    ProgramFolder();
    ~ProgramFolder();
    ProgramFolder(const ProgramFolder&) = delete;
    ProgramFolder& operator=(const ProgramFolder&) = delete;

    // The folder, without a trailing backslash.
    const std::wstring& Path() const { return path_; }
    std::wstring PathOf(std::wstring_view relative) const;

    // Copies a program file into the folder as name; returns its full path.
    std::wstring InstallProgram(const std::wstring& source, std::wstring_view name);
    // Creates the Components sub-folder (empty until components are added).
    void AddComponentsFolder();
    // Copies a component into Components (created if needed) as name.
    void AddComponent(const std::wstring& source, std::wstring_view name);

    // Writes bytes exactly as given; folders on the way must exist.
    void WriteFile(std::wstring_view relative, std::string_view bytes);
    // Empty when the file does not exist or cannot be read.
    std::optional<std::string> ReadFile(std::wstring_view relative) const;
    bool Exists(std::wstring_view relative) const;
    FILETIME LastWriteTime(std::wstring_view relative) const;
    void SetLastWriteTime(std::wstring_view relative, const FILETIME& time);

private:
    std::wstring path_;
};

}  // namespace corvel::e2e
