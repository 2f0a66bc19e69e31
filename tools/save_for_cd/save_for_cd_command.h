// The view's Save for CD command.
#pragma once

#include "tools/tool_context.h"

namespace corvel::ui {

// Runs the Save for CD dialog on the catalogue when it has a category to save.
void RunSaveForCd(const ToolContext& tool);

}  // namespace corvel::ui
