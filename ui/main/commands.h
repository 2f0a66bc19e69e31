// Which menu commands exist, when they are enabled and where they go, and
// the entries of the submenus that are built when they open.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace corvel::ui {

enum class EnableRule { Always, HasCategory, HasSelection };

struct Command {
    int id;
    EnableRule rule;
    unsigned viewRequest;  // 0: the frame carries it out itself
    int argument;
};

// The command with this menu id, or nothing.
const Command* FindCommand(int id);

bool IsEnabled(EnableRule rule, bool hasCategory, bool hasSelection);

// Which of the filled submenus opened last; bit values.
enum MenuMode : unsigned { kMenuNone = 0, kMenuMoveTo = 1, kMenuSwitchTo = 2, kMenuTools = 4 };

struct SubmenuEntry {
    std::wstring text;
    bool enabled;
};

inline constexpr int kFirstDynamicId = 33000;
inline constexpr int kDynamicIdCount = 10000;

// Entries of the switch-to or move-to submenu: one per tab, the current
// one greyed, nothing for move-to without a selection. A tab text that
// could not be read is nullopt and gives a greyed entry.
std::vector<SubmenuEntry> CategorySubmenu(MenuMode mode, const std::vector<std::optional<std::wstring>>& tabTexts,
                                          int currentTab, bool hasSelection);

// True when the entries must be replaced by the single greyed "(空)".
bool NeedsEmptyPlaceholder(std::size_t entryCount);

}  // namespace corvel::ui
