#include "program_location.h"

#include <windows.h>

#include "catalogue_file.h"
#include "paths.h"
#include "win32_text.h"

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

ProgramLocation LocateProgram() {
    std::string modulePath = Cp936FromWide(ModuleFileName());
    ProgramLocation location;
    location.folder = ProgramFolderFromModulePath(modulePath);
    location.programFile = modulePath;
    if (!location.folder.empty())
        location.catalogueFile = CatalogueFilePath(location.folder, modulePath.substr(location.folder.size()));
    return location;
}

}  // namespace corvel::ui
