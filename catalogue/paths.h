// Path and parameter resolution against the program folder, so that a
// catalogue works from whatever drive letter the CD gets.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace corvel {

enum class PathKind { Invalid = 0, Absolute = 1, DriveRelative = 2, FolderRelative = 3 };

PathKind ClassifyPath(std::string_view text);

// Tokens of a command line; false for an empty text, an unclosed quote, or
// no token at all. Never yields "", "-" or "/".
bool SplitCommand(std::string_view text, std::vector<std::string>& tokens);

// Text after the last "." of the last path component; empty when none.
std::string ExtensionOfPath(std::string_view text);

std::string WithTrailingBackslash(std::string_view text);

// A network path: two backslashes and a server name ("\\nas\share").
bool IsNetworkPath(std::string_view text);

// Two backslashes in a row, which name no folder; the two that begin a
// network path and the "\\?\" before a long path do not count.
bool HasDoubledBackslash(std::string_view path);

// Folder of a program file path, up to and including its last backslash.
std::string ProgramFolderFromModulePath(std::string_view modulePath);

struct ResolvedCommand {
    bool ok = false;
    std::string program;
    std::string params;
};

class PathResolver {
public:
    explicit PathResolver(std::string programFolder) : programFolder_(std::move(programFolder)) {}

    const std::string& ProgramFolder() const { return programFolder_; }

    // Full path, or empty when text is empty or invalid or the folder is empty.
    std::string ResolvePath(std::string_view text) const;
    // First token of the command, resolved when asked; empty when the split
    // fails or the first token is a flag.
    std::string ProgramPathOfCommand(std::string_view command, bool resolve) const;
    ResolvedCommand ResolveCommand(std::string_view command) const;
    // FolderOfResolvedPath of the resolved text; empty when it is invalid.
    std::string FolderOfPath(std::string_view text) const;

private:
    std::string programFolder_;
};

// A resolved path up to its last backslash, which a drive's root keeps
// ("E:\"); empty when there is none.
std::string FolderOfResolvedPath(std::string_view resolved);

}  // namespace corvel
