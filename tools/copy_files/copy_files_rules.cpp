#include "tools/copy_files/copy_files_rules.h"

#include "catalogue/cp936.h"

namespace corvel {

CopyModeRules RulesOf(CopyMode mode) {
    switch (mode) {
        case CopyMode::PathsAsText:
            return {false, false, false};
        case CopyMode::FilesToClipboard:
            return {false, true, false};
        default:
            return {true, true, true};
    }
}

namespace {

bool Picks(RowSelection what, const CopyFileRow& row, bool wasSelected) {
    switch (what) {
        case RowSelection::Installers:
            return row.kind == CopyFileKind::Installer;
        case RowSelection::Patches:
            return row.kind == CopyFileKind::Patch;
        case RowSelection::SettingsFiles:
            return row.kind == CopyFileKind::Settings;
        case RowSelection::ExistingFiles:
            return row.exists;
        case RowSelection::All:
            return true;
        default:
            return !wasSelected;
    }
}

}  // namespace

std::vector<bool> SelectRows(RowSelection what, const std::vector<CopyFileRow>& rows,
                             const std::vector<bool>& selected) {
    std::vector<bool> after(rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) after[i] = Picks(what, rows[i], i < selected.size() && selected[i]);
    return after;
}

RowMenuState RowMenuStateFor(std::size_t rowCount, bool anySelected) {
    return {rowCount > 0, anySelected};
}

namespace {

// The text after the last backslash, or all of it.
std::string_view LastName(std::string_view path) {
    const std::size_t slash = FindLastChar(path, '\\');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

// Blanks and dots are never trail bytes, so a byte-wise trim is safe.
constexpr std::string_view kDroppedAtEnd = " .";

std::string_view WithoutDroppedEnd(std::string_view typed) {
    const std::string_view last = LastName(typed);
    const bool onlyDots =
        last.find('.') != std::string_view::npos && last.find_first_not_of(kDroppedAtEnd) == std::string_view::npos;
    return onlyDots ? typed : TrimRight(typed, kDroppedAtEnd);
}

}  // namespace

CopyTarget CopyTargetOf(std::string_view typed, const PathResolver& paths) {
    const std::string_view trimmed = WithoutDroppedEnd(typed);
    if (TrimLeft(trimmed, kBlankTabLf).empty()) return {CopyTarget::Verdict::Empty, {}};
    // A folder on a NAS: the rest follows the rules of every path.
    if (IsNetworkPath(trimmed)) {
        if (ClassifyPath(trimmed.substr(1)) != PathKind::DriveRelative) return {CopyTarget::Verdict::Invalid, {}};
        return {CopyTarget::Verdict::Folder, std::string(trimmed)};
    }
    std::string folder = paths.ResolvePath(trimmed);
    if (folder.empty()) return {CopyTarget::Verdict::Invalid, {}};
    return {CopyTarget::Verdict::Folder, std::move(folder)};
}

std::string CopyTargetPath(std::string_view file, std::string_view folder) {
    return WithTrailingBackslash(folder).append(LastName(file));
}

std::vector<std::string> SharedFileNames(const std::vector<std::string>& paths) {
    std::vector<std::string> shared;
    for (std::size_t i = 0; i < paths.size(); ++i) {
        const std::string_view name = LastName(paths[i]);
        bool seenBefore = false, seenAfter = false;
        for (std::size_t j = 0; j < paths.size() && !seenBefore; ++j) {
            if (j == i || !EqualsIgnoreAsciiCase(name, LastName(paths[j]))) continue;
            (j < i ? seenBefore : seenAfter) = true;
        }
        if (seenAfter && !seenBefore) shared.emplace_back(name);
    }
    return shared;
}

}  // namespace corvel
