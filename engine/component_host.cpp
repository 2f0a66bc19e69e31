#include "component_host.h"

#include "long_path.h"
#include "shell_files.h"
#include "win32_text.h"

namespace corvel {

namespace {

template <typename Fn>
Fn Export(HMODULE module, const char* name) {
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

bool HasComponentExtension(std::wstring_view name) {
    constexpr std::wstring_view kExtension = L".cpn";
    return name.size() > kExtension.size() &&
           CompareStringOrdinal(name.data() + name.size() - kExtension.size(), static_cast<int>(kExtension.size()),
                                kExtension.data(), static_cast<int>(kExtension.size()), TRUE) == CSTR_EQUAL;
}

}  // namespace

ComponentHost::~ComponentHost() {
    UnloadAll();
}

bool ComponentHost::LoadAll(const std::string& folder) {
    if (!FolderExists(folder)) return false;
    std::wstring base = WideFromCp936(folder);
    if (base.empty()) return false;
    if (base.back() != L'\\' && base.back() != L'/') base += L'\\';

    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(LongPathFromWide(base + L"*.cpn").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            // A folder named "x.cpn" matches the pattern too; "." and ".." are folders.
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
            // So does "x.cpn_old" through its short name "X~1.CPN".
            if (!HasComponentExtension(found.cFileName)) continue;
            LoadOne(Cp936FromWide(base + found.cFileName));
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    return !records_.empty();
}

bool ComponentHost::LoadOne(const std::string& path) {
    if (path.empty()) return false;
    std::wstring widePath = WideLongPath(path);
    if (widePath.empty()) return false;
    // A broken or foreign file must fail quietly, not raise the system's error box.
    UINT oldMode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    HMODULE module = LoadLibraryW(widePath.c_str());
    SetErrorMode(oldMode);
    if (!module) return false;

    Record record;
    record.module = module;
    record.open = Export<ComponentOpenFn>(module, "Open");
    record.preUnload = Export<ComponentPreUnloadFn>(module, "PreUnloadDll");
    auto initialize = Export<ComponentInitializeFn>(module, "Initialize");

    bool accepted = record.open != nullptr && (!initialize || initialize(mainFrame_) != 0);
    if (!accepted) {
        if (record.preUnload) record.preUnload();
        FreeLibrary(module);
        return false;
    }
    records_.push_back(record);
    return true;
}

int ComponentHost::Dispatch(HWND owner, const char* itemName, const char* filePath, const char* parameters,
                            const char* installFolder, int stepKind) const {
    if (records_.empty()) return kNoComponent;
    for (const Record& record : records_) {
        // Callers always pass texts; a missing one ends the step as done rather than crash a component.
        if (!itemName || !filePath || !parameters || !installFolder || !record.open) return kHostDone;
        int answer = record.open(owner, itemName, filePath, parameters, installFolder, stepKind);
        if (answer == 0 || answer == 2 || answer == 3 || answer == 4) return answer;
    }
    return kNoComponent;
}

void ComponentHost::UnloadAll() {
    for (const Record& record : records_) {
        if (record.preUnload) record.preUnload();
        FreeLibrary(record.module);
    }
    records_.clear();
}

}  // namespace corvel
