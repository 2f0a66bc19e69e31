#include "catalogue/names.h"

#include <algorithm>
#include <string>

#include "catalogue/cp936.h"

namespace corvel {

namespace {

constexpr std::string_view kFolderNameReserved = "\t\"*/:<>?\\|";
// None of these is ever a trail byte, so a plain byte search finds them.
constexpr std::string_view kDisplayNameReserved = "\x02\r\n";

// Whole characters: a double-byte character whose trail byte is 0x5C or 0x7C
// is an ordinary character in a Windows folder name.
bool HasReservedFolderChar(std::string_view name) {
    for (std::size_t i = 0; i < name.size(); i += CharLength(name, i)) {
        if (kFolderNameReserved.find(name[i]) != std::string_view::npos) return true;
    }
    return false;
}

bool StartsWithBlankTabLf(std::string_view text) {
    return !text.empty() && kBlankTabLf.find(text.front()) != std::string_view::npos;
}

}  // namespace

bool MatchesDeviceName(std::string_view text) {
    std::string base = ToUpperAscii(text.substr(0, FindChars(text, ".")));
    return std::find(kDeviceNames.begin(), kDeviceNames.end(), base) != kDeviceNames.end();
}

bool IsValidFolderName(std::string_view name) {
    std::string_view trimmed = TrimLeft(name, kWhiteSpace);
    if (trimmed.empty() || HasReservedFolderChar(trimmed)) return false;
    if (trimmed.front() == '.') return false;  // nothing before the first dot
    return !MatchesDeviceName(trimmed);
}

DisplayNameEdit CheckDisplayNameEdit(std::optional<std::string_view> text) {
    if (!text) return DisplayNameEdit::Cancelled;
    if (text->empty()) return DisplayNameEdit::Empty;
    if (StartsWithBlankTabLf(*text)) return DisplayNameEdit::LeadingBlank;
    // The catalogue reader trims the name and drops an item whose name is
    // then empty: that is as good as no name.
    if (TrimLeft(*text, kWhiteSpace).empty()) return DisplayNameEdit::Empty;
    // 0x02 separates fields and CR or LF would split the item's line, so the
    // reader would lose the item.
    if (text->find_first_of(kDisplayNameReserved) != std::string_view::npos)
        return DisplayNameEdit::ReservedCharacter;
    return DisplayNameEdit::Accept;
}

FolderNameEdit CheckFolderNameEdit(std::optional<std::string_view> text) {
    if (!text) return FolderNameEdit::Cancelled;
    if (text->empty()) return FolderNameEdit::Empty;
    if (StartsWithBlankTabLf(*text)) return FolderNameEdit::LeadingBlank;
    if (!IsValidFolderName(*text)) return FolderNameEdit::InvalidName;
    return FolderNameEdit::Accept;
}

MessageIcon IconFor(DisplayNameEdit verdict) {
    return verdict == DisplayNameEdit::LeadingBlank ? MessageIcon::Exclamation : MessageIcon::Stop;
}

MessageIcon IconFor(FolderNameEdit verdict) {
    return verdict == FolderNameEdit::LeadingBlank ? MessageIcon::Exclamation : MessageIcon::Stop;
}

}  // namespace corvel
