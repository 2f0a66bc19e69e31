// The tools submenu and its two commands: run a tool listed in ExtTools.ini
// beside the program, and open that file in Notepad.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "catalogue/paths.h"
#include "ui/main/commands.h"

namespace corvel::ui {

class ExternalTools {
public:
    explicit ExternalTools(std::string programFolder) : paths_(std::move(programFolder)) {}

    // Reads the file afresh: one submenu entry per tool, greyed when its
    // program is missing.
    std::vector<SubmenuEntry> Entries();
    // Tools listed at the last filling; tool i has menu id 33000 + i.
    std::size_t Count() const { return commands_.size(); }
    // Starts tool i, not waiting for it; nothing when its program is missing.
    void Run(std::size_t index) const;
    // Writes the header into a missing file, then opens the file in Notepad.
    void EditFile(HWND owner) const;

private:
    std::string FilePath() const;

    PathResolver paths_;
    std::vector<std::string> commands_;  // variables replaced, not resolved
};

}  // namespace corvel::ui
