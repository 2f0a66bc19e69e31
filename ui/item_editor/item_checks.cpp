#include "ui/item_editor/item_checks.h"

#include <string_view>

#include "catalogue/cp936.h"
#include "catalogue/paths.h"

namespace corvel {

namespace {

// The set the catalogue reader trims: a name of vertical tabs alone would
// pass here and be read back empty, and the item lost at the next start.
constexpr std::string_view kLeadingWhiteSpace = kWhiteSpace;

bool HasReservedCharacter(std::string_view text) {
    return text.find(kFieldSeparator) != std::string_view::npos;
}

// Only the program path of a command is checked; parameters are free text.
bool IsValidCommand(std::string_view command) {
    std::string program = PathResolver("").ProgramPathOfCommand(command, false);
    return ClassifyPath(program) != PathKind::Invalid;
}

ItemCheck Fault(int step, MessageIcon icon = MessageIcon::Stop) {
    return {step, icon};
}

}  // namespace

ItemCheck CheckItemFields(const ItemFields& typed, ItemFields& record) {
    // Checked in record, so that typed and record may be one object.
    record.Name = TrimLeft(typed.Name, kLeadingWhiteSpace);
    if (record.Name.empty()) return Fault(1, MessageIcon::Exclamation);
    if (HasReservedCharacter(record.Name)) return Fault(2);

    record.SrcPath = TrimLeft(typed.SrcPath, kLeadingWhiteSpace);
    if (record.SrcPath.empty()) return Fault(3, MessageIcon::Exclamation);
    if (HasReservedCharacter(record.SrcPath)) return Fault(4);
    if (!IsValidCommand(record.SrcPath)) return Fault(5);

    record.DstDir = TrimLeft(typed.DstDir, kLeadingWhiteSpace);
    if (!record.DstDir.empty()) {
        if (HasReservedCharacter(record.DstDir)) return Fault(6);
        if (ClassifyPath(record.DstDir) == PathKind::Invalid) return Fault(7);
    }

    // The model stores a line break as 0x03 0x03, so that pair typed as such
    // would come back as a line break; a single 0x03 beside a line break
    // would too ("\x03\r\n" is stored as three 0x03 and read back as
    // "\r\n\x03"), so none is taken.
    record.Regcode = typed.Regcode;
    if (HasReservedCharacter(record.Regcode) || record.Regcode.find(kLineBreakCode[0]) != std::string::npos)
        return Fault(8);

    record.Comment = typed.Comment;
    if (HasReservedCharacter(record.Comment)) return Fault(9);

    record.Patch = TrimLeft(typed.Patch, kLeadingWhiteSpace);
    if (!record.Patch.empty()) {
        if (HasReservedCharacter(record.Patch)) return Fault(10);
        if (!IsValidCommand(record.Patch)) return Fault(11);
    }

    record.Settings = TrimLeft(typed.Settings, kLeadingWhiteSpace);
    if (!record.Settings.empty()) {
        if (HasReservedCharacter(record.Settings)) return Fault(12);
        if (!IsValidCommand(record.Settings)) return Fault(13);
    }

    return {kItemChecksPassed, MessageIcon::Stop};
}

}  // namespace corvel
