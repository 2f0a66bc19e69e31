#include "external_tools.h"

#include "external_tools_rules.h"
#include "message_box.h"
#include "resource.h"
#include "shell_files.h"
#include "shell_launch.h"
#include "win32_text.h"
#include "window.h"

namespace corvel::ui {

namespace {

// A system folder at whatever length the system gives it; empty when the
// system does not answer or the folder has no code page 936 form.
std::string SystemFolder(UINT(WINAPI* query)(LPWSTR, UINT)) {
    UINT size = query(nullptr, 0);
    if (size == 0) return {};
    std::wstring folder(size, L'\0');
    UINT length = query(folder.data(), size);
    if (length == 0 || length >= size) return {};
    folder.resize(length);
    return Cp936FromWide(folder);
}

}  // namespace

std::string ExternalTools::FilePath() const {
    return paths_.ProgramFolder() + std::string(kExternalToolsFileName);
}

std::vector<SubmenuEntry> ExternalTools::Entries() {
    commands_.clear();
    std::vector<SubmenuEntry> entries;
    FileReader reader;
    const std::string* text = reader.Read(FilePath());
    if (!text) return entries;
    SystemFolders folders{SystemFolder(GetSystemDirectoryW), SystemFolder(GetWindowsDirectoryW)};
    for (ToolEntry& tool : ToolEntries(*text, folders, paths_)) {
        entries.push_back({WideFromCp936(tool.name), FileExists(tool.program)});
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
    HANDLE process = RunProgram(command.program, command.params, FolderOfResolvedPath(command.program), SW_SHOWNORMAL);
    if (process) CloseHandle(process);  // the tool runs on its own
}

void ExternalTools::EditFile(HWND owner) const {
    std::string path = FilePath();
    if (!FileExists(path) && !WriteWholeFile(path, ExternalToolsHeader())) return;
    if (!OpenProgram(owner, "notepad.exe", path))
        ShowMessageBox(owner, LoadResourceString(IDS_EDIT_TOOLS_FAILED), LoadResourceString(IDS_EDIT_TOOLS_CAPTION),
                       MB_OK | MB_ICONSTOP);
}

}  // namespace corvel::ui
