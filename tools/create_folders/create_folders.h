// The create folders command of the catalogue view.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "tools/tool_context.h"

namespace corvel::ui {

// Runs the create folders dialog on the category names in tab order
// (nullopt for a tab without a category); nothing without a tab.
void RunCreateFolders(const ToolContext& tool, const std::vector<std::optional<std::string>>& categoryNames);

}  // namespace corvel::ui
