// Reads arbitrary ExtTools.ini texts and checks what the tools menu is
// built from: whole, trimmed names and commands, every variable replaced.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "catalogue/cp936.h"
#include "ui/main/external_tools_rules.h"

static void Check(bool condition) {
    if (!condition) std::abort();
}

static bool Trimmed(std::string_view text) {
    return !text.empty() && corvel::Trim(text, corvel::kWhiteSpace) == text;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    std::vector<corvel::ToolLine> lines = corvel::ParseToolLines(text);
    for (const corvel::ToolLine& line : lines) {
        Check(Trimmed(line.name) && Trimmed(line.command));
        Check(line.name.find('=') == std::string::npos);
        for (std::string_view part : {std::string_view(line.name), std::string_view(line.command)})
            Check(part.find('\0') == std::string_view::npos && part.find("\r\n") == std::string_view::npos);
    }

    const corvel::SystemFolders folders{"C:\\WINDOWS\\system32", "C:\\WINDOWS"};
    for (const corvel::ToolLine& line : lines) {
        std::string command = corvel::ReplaceToolVariables(line.command, folders);
        Check(command.find("%SYSDIR%") == std::string::npos && command.find("%WINDIR%") == std::string::npos);
    }
    std::vector<corvel::ToolEntry> entries = corvel::ToolEntries(text, folders, corvel::PathResolver("D:\\CD\\"));
    Check(entries.size() <= lines.size());
    for (const corvel::ToolEntry& entry : entries) Check(!entry.program.empty());
    return 0;
}
