// Rules for names the user types: folder names made from category names,
// and display names edited in the item list.
#pragma once

#include <array>
#include <optional>
#include <string_view>

namespace corvel {

inline constexpr std::array<std::string_view, 23> kDeviceNames = {
    "CLOCK$", "AUX",  "CON",  "NUL",  "PRN",  "COM1", "COM2", "COM3", "COM4", "COM5", "COM6", "COM7",
    "COM8",   "COM9", "LPT1", "LPT2", "LPT3", "LPT4", "LPT5", "LPT6", "LPT7", "LPT8", "LPT9"};

// True when text, cut at its first ".", is a DOS device name (any case).
bool MatchesDeviceName(std::string_view text);

// The name check for folder names.
bool IsValidFolderName(std::string_view name);

enum class MessageIcon { Stop, Exclamation };

// What ending a label edit leads to. Accept means: go on with the rename.
enum class DisplayNameEdit { Cancelled, Accept, Empty, LeadingBlank, ReservedCharacter };
enum class FolderNameEdit { Cancelled, Accept, Empty, LeadingBlank, InvalidName };

// text is empty (nullopt) when the edit was cancelled.
DisplayNameEdit CheckDisplayNameEdit(std::optional<std::string_view> text);
FolderNameEdit CheckFolderNameEdit(std::optional<std::string_view> text);

MessageIcon IconFor(DisplayNameEdit verdict);
MessageIcon IconFor(FolderNameEdit verdict);

}  // namespace corvel
