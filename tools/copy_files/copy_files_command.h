// The view's copy files command: the dialog on the given items.
#pragma once

#include <vector>

#include "tools/tool_context.h"

namespace corvel::ui {

void RunCopyFiles(const ToolContext& tool, const std::vector<const CatalogueNode*>& items);

}  // namespace corvel::ui
