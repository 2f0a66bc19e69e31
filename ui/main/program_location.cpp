#include "ui/main/program_location.h"

#include <windows.h>

#include "catalogue/catalogue_file.h"
#include "catalogue/paths.h"
#include "catalogue/win32_text.h"
#include "ui/main/resource.h"
#include "ui/window/message_box.h"
#include "ui/window/window.h"

namespace corvel::ui {

// The module path may exceed MAX_PATH; grow the buffer until it fits.
static std::wstring ModuleFileName() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) return {};
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        if (path.size() >= 32768) return {};
        path.resize(path.size() * 2);
    }
}

std::optional<ProgramLocation> LocationOf(const std::wstring& modulePath) {
    std::optional<std::string> exact = ExactCp936FromWide(modulePath);
    if (!exact) return std::nullopt;
    const std::string& path = *exact;
    ProgramLocation location;
    location.folder = ProgramFolderFromModulePath(path);
    location.programFile = path;
    if (!location.folder.empty())
        location.catalogueFile = CatalogueFilePath(location.folder, path.substr(location.folder.size()));
    return location;
}

void TellProgramPathUnusable(const std::wstring& modulePath) {
    ShowMessageBox(nullptr, FormatResourceString(IDS_PROGRAM_PATH_UNUSABLE, {modulePath}),
                   LoadResourceString(IDS_CAPTION_CORVEL), MB_OK | MB_ICONSTOP);
}

std::optional<ProgramLocation> LocateProgram() {
    std::wstring modulePath = ModuleFileName();
    std::optional<ProgramLocation> location = LocationOf(modulePath);
    if (!location) TellProgramPathUnusable(modulePath);
    return location;
}

}  // namespace corvel::ui
