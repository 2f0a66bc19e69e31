#include "copy_files_rules.h"

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

}  // namespace corvel
