// The check paths command of the catalogue view.
#pragma once

#include "tools/tool_context.h"

namespace corvel::ui {

// Runs the check paths window on the catalogue, whose items may be edited
// there.
void RunCheckPaths(const ToolContext& tool);

}  // namespace corvel::ui
