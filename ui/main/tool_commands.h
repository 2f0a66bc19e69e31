// The catalogue view's tool commands: Save for CD, check paths, copy files
// and create folders. Each hands its tool what it uses of the view; the
// view ends a running install task first, on the user's word.
#pragma once

#include <string>

#include "tools/tool_context.h"
#include "ui/main/command_context.h"

namespace corvel::ui {

class ToolCommands {
public:
    ToolCommands(const CommandContext& context, const std::string& programFile)
        : context_(context), programFile_(programFile) {}

    void SaveForCd();
    // Then lists the current category again: its items may have been edited.
    void CheckPaths();
    // On the selected items of the current category.
    void CopyFiles();
    void CreateFolders();

private:
    ToolContext Tool() const { return {context_.owner, context_.catalogue, context_.paths, programFile_}; }

    const CommandContext& context_;
    const std::string& programFile_;
};

}  // namespace corvel::ui
