#include "engine/component_host.h"

#include <utility>

#include "catalogue/cp936.h"
#include "catalogue/long_path.h"
#include "catalogue/shell/component_files.h"
#include "catalogue/shell/shell_files.h"

namespace corvel {

namespace {

template <typename Fn>
Fn Export(HMODULE module, const char* name) {
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

}  // namespace

ComponentHost::~ComponentHost() {
    UnloadAll();
}

bool ComponentHost::LoadAll(const std::string& folder) {
    if (!FolderExists(folder)) return false;
    std::string base = folder;
    if (!EndsWithChar(base, '\\') && !EndsWithChar(base, '/')) base += '\\';
    for (const std::string& name : ComponentFiles(folder)) LoadOne(base + name);
    return !records_.empty();
}

bool ComponentHost::LoadOne(const std::string& path) {
    if (path.empty()) return false;
    std::wstring widePath = WideLongPath(path);
    if (widePath.empty()) return false;
    // A broken or foreign file must fail quietly, not raise the system's error box.
    UINT oldMode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    UniqueModule module(LoadLibraryW(widePath.c_str()));
    SetErrorMode(oldMode);
    if (!module) return false;

    Record record;
    record.open = Export<ComponentOpenFn>(module.get(), "Open");
    record.preUnload = Export<ComponentPreUnloadFn>(module.get(), "PreUnloadDll");
    auto initialize = Export<ComponentInitializeFn>(module.get(), "Initialize");

    bool accepted = record.open != nullptr && (!initialize || initialize(mainFrame_) != 0);
    if (!accepted) {
        if (record.preUnload) record.preUnload();
        return false;
    }
    record.module = std::move(module);
    records_.push_back(std::move(record));
    return true;
}

int ComponentHost::Dispatch(HWND owner, const char* itemName, const char* filePath, const char* parameters,
                            const char* installFolder, int stepKind) const {
    if (records_.empty()) return kNoComponent;
    for (const Record& record : records_) {
        // Callers always pass texts; a missing one ends the step as done rather than crash a component.
        if (!itemName || !filePath || !parameters || !installFolder || !record.open) return kDone;
        int answer = record.open(owner, itemName, filePath, parameters, installFolder, stepKind);
        // kNotMine, or a number outside the contract, passes the file on.
        if (answer >= kDone && answer <= kAbandonAll && answer != kNotMine) return answer;
    }
    return kNoComponent;
}

void ComponentHost::UnloadAll() {
    for (Record& record : records_) {
        if (record.preUnload) record.preUnload();
        record.module.reset();
    }
    records_.clear();
}

}  // namespace corvel
