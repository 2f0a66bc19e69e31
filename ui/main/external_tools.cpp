#include "ui/main/external_tools.h"

#include "catalogue/shell/native_system.h"
#include "catalogue/shell/shell_files.h"
#include "catalogue/shell/shell_launch.h"
#include "catalogue/unique_handle.h"
#include "catalogue/win32_text.h"
#include "ui/main/external_tools_rules.h"
#include "ui/main/resource.h"
#include "ui/window/label_rules.h"
#include "ui/window/message_box.h"
#include "ui/window/window.h"

namespace corvel::ui {

std::string ExternalTools::FilePath() const {
    return paths_.ProgramFolder() + std::string(kExternalToolsFileName);
}

std::vector<SubmenuEntry> ExternalTools::Entries() {
    commands_.clear();
    std::vector<SubmenuEntry> entries;
    FileReader reader;
    const std::string* text = reader.Read(FilePath());
    if (!text) return entries;
    // A 32-bit Corvel on 64-bit Windows would see SysWOW64 as the system folder.
    SystemFolders folders{NativePath(AskedFolder(GetSystemDirectoryW)), AskedFolder(GetWindowsDirectoryW)};
    for (ToolEntry& tool : ToolEntries(*text, folders, paths_)) {
        entries.push_back({MenuTextOf(WideFromCp936(tool.name)), FileExists(tool.program)});
        commands_.push_back(std::move(tool.command));
    }
    return entries;
}

void ExternalTools::Run(std::size_t index) const {
    if (index >= commands_.size()) return;
    ResolvedCommand command = paths_.ResolveCommand(commands_[index]);
    if (!command.ok || !FileExists(command.program)) return;
    // The program is resolved already: resolving it again would make a
    // share's path or a name beginning with "." or a blank into nothing.
    // The tool runs on its own: its handle is not kept.
    UniqueHandle process(
        RunProgram(command.program, command.params, FolderOfResolvedPath(command.program), SW_SHOWNORMAL));
}

void ExternalTools::EditFile(HWND owner) const {
    std::string path = FilePath();
    if (!FileExists(path) && !WriteWholeFile(path, ExternalToolsHeader())) return;
    if (!OpenProgram(owner, "notepad.exe", path))
        ShowMessageBox(owner, LoadResourceString(IDS_EDIT_TOOLS_FAILED), LoadResourceString(IDS_EDIT_TOOLS_CAPTION),
                       MB_OK | MB_ICONSTOP);
}

}  // namespace corvel::ui
