// The external tools list, ExtTools.ini beside the program: its lines, its
// variables and the header the edit command writes. Portable.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "catalogue/paths.h"

namespace corvel {

inline constexpr std::string_view kExternalToolsFileName = "ExtTools.ini";

struct ToolLine {
    std::string name;
    std::string command;  // as written, variables not yet replaced
};

// The tool lines of the file's text in file order. Lines end at CR LF only,
// the text at its first zero byte; comments, lines without "=" and lines
// with an empty name or command are left out.
std::vector<ToolLine> ParseToolLines(std::string_view text);

// Without trailing backslashes, as the system reports them.
struct SystemFolders {
    std::string system;
    std::string windows;
};

// Every "%SYSDIR%" and "%WINDIR%" (upper case only) replaced in one pass,
// so a folder that itself holds such a text is not replaced again.
std::string ReplaceToolVariables(std::string_view command, const SystemFolders& folders);

struct ToolEntry {
    std::string name;
    std::string command;  // variables replaced, not resolved
    std::string program;  // the command's program path, resolved
};

// One entry per tool line whose command names a program, in file order:
// entry i is the tool of menu id 33000 + i.
std::vector<ToolEntry> ToolEntries(std::string_view fileText, const SystemFolders& folders, const PathResolver& paths);

// What the edit command writes into a missing file, in code page 936.
std::string ExternalToolsHeader();

}  // namespace corvel
