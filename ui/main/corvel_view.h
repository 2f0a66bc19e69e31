// The catalogue view: the item list that fills the frame. It owns the
// catalogue, the component host and the binder, and dispatches the frame's
// view requests to the item and category commands.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "binder.h"
#include "catalogue_document.h"
#include "catalogue_model.h"
#include "category_commands.h"
#include "component_host.h"
#include "install_commands.h"
#include "item_commands.h"
#include "paths.h"
#include "program_location.h"
#include "window_subclass.h"

namespace corvel::ui {

class CCorvelView {
public:
    using StatusSink = std::function<void(const std::wstring&)>;

    CCorvelView(ProgramLocation location, StatusSink status);
    ~CCorvelView();
    CCorvelView(const CCorvelView&) = delete;
    CCorvelView& operator=(const CCorvelView&) = delete;

    // Creates the list window as a child of frame.
    bool Create(HWND frame);
    HWND Handle() const { return list_; }
    // Owner of the commands' dialogs and message boxes.
    HWND Owner() const { return frame_; }

    // First-time initialisation: hot key, components, controls, catalogue.
    // A failure is reported and a close request is posted to the frame.
    void InitialUpdate();
    // Unregisters the hot key, saves a changed catalogue, clears the
    // controls and unloads the components.
    void OnDestroy();
    // The session ends and Windows will not destroy the window: keep the
    // run's changes. True when nothing was left unsaved.
    bool SaveForEndOfSession();
    // Saves a changed catalogue before code that may end the process runs
    // (a component's Open); a failure is silent and left for the close.
    void SaveChangesNow();

    // The frame moved to a monitor of another scale: the list's font, icons
    // and their spacing are made for dpi.
    void SetDpi(UINT dpi);

    // Notifications from the tab strip and the list, passed on by the frame.
    LRESULT OnNotify(NMHDR* header);

    bool HasCategory() const { return binder_.TabCount() > 0; }
    bool HasSelection() const { return binder_.FirstSelectedEntry() >= 0; }
    Catalogue& Model() { return catalogue_; }
    Binder& Controls() { return binder_; }
    const PathResolver& Paths() const { return paths_; }
    const ProgramLocation& Location() const { return location_; }
    const ComponentHost& Components() const { return components_; }

    // The install-task guard: whether a command that changes the catalogue
    // may run now (a running task is ended on the user's word).
    bool InstallTaskAllows() { return installCommands_.GuardAllows(); }
    // Makes category index current and lists its items; false when out of range.
    bool ShowCategory(int index);
    // Appends the item's entry; -1 when its installer resolves to nothing
    // or has no icon (the item stays in the catalogue).
    int AppendEntryFor(CatalogueNode* item);
    void SetStatus(const std::wstring& text) { status_(text); }

private:
    LRESULT OnListMessage(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleRequest(UINT request, WPARAM wParam, LPARAM lParam);
    LRESULT OnListNotify(NMHDR* header);
    void AddNode(NodeKind kind, CatalogueNode* node);
    std::string InstallerOf(CatalogueNode* item) const;
    void ShowCommentOf(int entry, bool selected);
    // Writes the catalogue file. With tellUser, a copy kept beside the file
    // is told once, and a failure at the close (only then: before it, the
    // close tries again). True when the run's catalogue is on disk, in the
    // file or beside it.
    bool SaveCatalogueFile(bool tellUser, bool closing);

    ProgramLocation location_;
    PathResolver paths_;
    StatusSink status_;
    HWND frame_ = nullptr;
    HWND list_ = nullptr;
    WindowSubclass listSubclass_;
    HFONT listFont_ = nullptr;  // after a move to another scale; else the list's own
    Catalogue catalogue_;
    CatalogueDocument document_;
    bool toldKeptCopy_ = false;
    ComponentHost components_;
    Binder binder_;
    ItemCommands itemCommands_{*this};
    CategoryCommands categoryCommands_{*this};
    // After the catalogue and the components, which a running task uses.
    InstallCommands installCommands_{*this};
};

}  // namespace corvel::ui
