// Loads the ".cpn" components of a folder, asks them in load order to open a
// file of an install step, and releases them in the same order.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "catalogue/unique_handle.h"
#include "components/component_interface.h"
#include "engine/host_result.h"

namespace corvel {

class ComponentHost {
public:
    // mainFrame goes to each component's Initialize while it is loaded.
    explicit ComponentHost(HWND mainFrame = nullptr) : mainFrame_(mainFrame) {}
    ~ComponentHost();
    ComponentHost(const ComponentHost&) = delete;
    ComponentHost& operator=(const ComponentHost&) = delete;

    void SetMainFrame(HWND mainFrame) { mainFrame_ = mainFrame; }

    // Paths are code page 936. True when at least one component is loaded afterwards.
    bool LoadAll(const std::string& folder);
    // True when the file was loaded and accepted (appended at the tail).
    bool LoadOne(const std::string& path);

    int Dispatch(HWND owner, const char* itemName, const char* filePath, const char* parameters,
                 const char* installFolder, int stepKind) const;

    void UnloadAll();

    std::size_t Count() const { return records_.size(); }

private:
    // Initialize is called once while loading, so its entry is not kept.
    struct Record {
        UniqueModule module;
        ComponentOpenFn open = nullptr;
        ComponentPreUnloadFn preUnload = nullptr;
    };

    HWND mainFrame_;
    std::vector<Record> records_;  // load order
};

}  // namespace corvel
