#include "ui/main/external_tools_rules.h"

#include <array>
#include <optional>

#include "catalogue/cp936.h"
#include "catalogue/text_codec.h"

namespace corvel {

namespace {

constexpr std::string_view kLineBreak = "\r\n";
constexpr std::string_view kSystemFolderVariable = "%SYSDIR%";
constexpr std::string_view kWindowsFolderVariable = "%WINDIR%";

// The header's lines; each is followed by CR LF.
const std::string kRule = ";" + std::string(100, '-');
const std::array<std::string, 13> kHeaderLines = {
    kRule,
    "",
    ";外部工具配置文件说明：",
    ";格式：“工具名（即菜单项目显示的名称）” + “=” + “工具命令（可以使用相对路径）”，每个工具占一行。",
    ";例子：工具1=Tool1.exe /Param1 -Param2、工具2=\\Tools\\Tool2.exe、工具3=F:\\Tools\\Tool3.exe。",
    ";变量：环境变量“%SYSDIR%”和“%WINDIR%”（必须大写），分别指向系统的“System”目录和“Windows”目录。",
    ";注释：如果用户要添加注释行，可以使用“;”字符开头然后写入注释文字，每个注释占用一行。",
    ";文件：外部工具配置文件的名称是“ExtTools.ini”，与“Corvel”处于同一目录下。",
    "",
    kRule,
    "",
    ";请在下面添加和编辑工具配置：",
    "",
};

// A tool line split at its first "=", or nothing for any other line.
std::optional<ToolLine> ToolLineOf(std::string_view line) {
    line = TrimLeft(line, kWhiteSpace);
    if (line.empty() || line.front() == ';') return std::nullopt;
    std::size_t equals = line.find('=');  // below 0x40: never a trail byte
    if (equals == std::string_view::npos) return std::nullopt;
    std::string_view name = Trim(line.substr(0, equals), kWhiteSpace);
    std::string_view command = Trim(line.substr(equals + 1), kWhiteSpace);
    if (name.empty() || command.empty()) return std::nullopt;
    return ToolLine{std::string(name), std::string(command)};
}

}  // namespace

std::vector<ToolLine> ParseToolLines(std::string_view text) {
    text = text.substr(0, text.find('\0'));
    std::vector<ToolLine> tools;
    for (std::size_t start = 0; start <= text.size();) {
        std::size_t end = text.find(kLineBreak, start);
        if (end == std::string_view::npos) end = text.size();
        if (std::optional<ToolLine> tool = ToolLineOf(text.substr(start, end - start))) tools.push_back(*tool);
        start = end + kLineBreak.size();
    }
    return tools;
}

std::string ReplaceToolVariables(std::string_view command, const SystemFolders& folders) {
    std::string replaced;
    std::size_t i = 0;
    while (i < command.size()) {
        std::string_view rest = command.substr(i);
        if (rest.starts_with(kSystemFolderVariable)) {
            replaced += folders.system;
            i += kSystemFolderVariable.size();
        } else if (rest.starts_with(kWindowsFolderVariable)) {
            replaced += folders.windows;
            i += kWindowsFolderVariable.size();
        } else {
            replaced += command[i++];  // "%" is never a trail byte
        }
    }
    return replaced;
}

std::vector<ToolEntry> ToolEntries(std::string_view fileText, const SystemFolders& folders, const PathResolver& paths) {
    std::vector<ToolEntry> entries;
    for (ToolLine& tool : ParseToolLines(fileText)) {
        std::string command = ReplaceToolVariables(tool.command, folders);
        std::string program = paths.ProgramPathOfCommand(command, true);
        // A command that starts with a switch or leaves a quote open names
        // no program; it takes no menu id either.
        if (program.empty()) continue;
        entries.push_back({std::move(tool.name), std::move(command), std::move(program)});
    }
    return entries;
}

std::string ExternalToolsHeader() {
    std::string header;
    for (const std::string& line : kHeaderLines) {
        header += Utf8ToCp936(line).value_or(std::string());
        header += kLineBreak;
    }
    return header;
}

}  // namespace corvel
