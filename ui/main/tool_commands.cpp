#include "ui/main/tool_commands.h"

#include <optional>
#include <vector>

#include "tools/check_paths/check_paths_command.h"
#include "tools/copy_files/copy_files_command.h"
#include "tools/create_folders/create_folders.h"
#include "tools/save_for_cd/save_for_cd_command.h"

namespace corvel::ui {

void ToolCommands::SaveForCd() {
    RunSaveForCd(Tool());
}

void ToolCommands::CheckPaths() {
    const Binder& controls = context_.controls;
    if (controls.TabCount() == 0) return;
    RunCheckPaths(Tool());
    context_.ShowCategory(controls.CurrentTab());
}

void ToolCommands::CopyFiles() {
    if (context_.controls.CurrentTab() < 0) return;
    RunCopyFiles(Tool(), context_.SelectedItems());
}

void ToolCommands::CreateFolders() {
    const Binder& controls = context_.controls;
    std::vector<std::optional<std::string>> names;
    for (int i = 0, count = controls.TabCount(); i < count; ++i) {
        const CatalogueNode* category = controls.CategoryOfTab(i);
        names.push_back(category ? std::optional<std::string>(std::string(category->Name())) : std::nullopt);
    }
    RunCreateFolders(Tool(), names);
}

}  // namespace corvel::ui
