// What the view hands a catalogue tool: the window that owns its dialog,
// the catalogue, the rules of the program folder's paths and the program
// file itself. A tool needs nothing else of the view.
#pragma once

#include <windows.h>

#include <string>

#include "catalogue/catalogue_model.h"
#include "catalogue/paths.h"

namespace corvel::ui {

struct ToolContext {
    HWND owner;
    Catalogue& catalogue;
    const PathResolver& paths;
    const std::string& programFile;
};

}  // namespace corvel::ui
