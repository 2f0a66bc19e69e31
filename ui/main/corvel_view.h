// The catalogue view: the item list that fills the frame. It owns the
// catalogue, the component host and the binder, and dispatches the frame's
// view requests to the item, category, install and tool commands, each of
// which is given only what it uses.
#pragma once

#include <windows.h>

#include <string>

#include "catalogue/catalogue_document.h"
#include "catalogue/catalogue_model.h"
#include "catalogue/paths.h"
#include "catalogue/unique_handle.h"
#include "engine/component_host.h"
#include "ui/main/binder.h"
#include "ui/main/category_commands.h"
#include "ui/main/command_context.h"
#include "ui/main/install_commands.h"
#include "ui/main/item_commands.h"
#include "ui/main/program_location.h"
#include "ui/main/tool_commands.h"
#include "ui/window/window_subclass.h"

namespace corvel::ui {

class CCorvelView {
public:
    using StatusSink = ui::StatusSink;

    CCorvelView(ProgramLocation location, StatusSink status);
    CCorvelView(const CCorvelView&) = delete;
    CCorvelView& operator=(const CCorvelView&) = delete;

    // Creates the list window as a child of frame.
    bool Create(HWND frame);
    HWND Handle() const { return list_; }

    // First-time initialisation: hot key, components, controls, catalogue.
    // A failure is reported and a close request is posted to the frame.
    void InitialUpdate();
    // Unregisters the hot key, saves a changed catalogue, clears the
    // controls and unloads the components.
    void OnDestroy();
    // The session ends and Windows will not destroy the window: keep the
    // run's changes. True when nothing was left unsaved.
    bool SaveForEndOfSession();

    // The frame moved to a monitor of another scale: the list's font, icons
    // and their spacing are made for dpi.
    void SetDpi(UINT dpi);

    // Notifications from the tab strip and the list, passed on by the frame.
    LRESULT OnNotify(NMHDR* header);

    bool HasCategory() const { return binder_.TabCount() > 0; }
    bool HasSelection() const { return context_.HasSelection(); }
    Catalogue& Model() { return catalogue_; }
    Binder& Controls() { return binder_; }
    const PathResolver& Paths() const { return paths_; }

private:
    // Whether a request passes the install-task guard first: a running
    // task is then ended, on the user's word, before the request is
    // carried out, and the request is dropped when it keeps running.
    enum TaskGuard { kGuarded, kNotGuarded };

    LRESULT OnListMessage(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleRequest(UINT request, WPARAM wParam, LPARAM lParam);
    // Carries a request out, after the guard when it asks for one; what
    // action answers, or 0.
    template <typename Action>
    LRESULT Run(TaskGuard guard, Action action);
    // The install-task guard: a running task is ended on the user's word.
    // True when none runs any more, so the command may go on.
    bool EndRunningTaskIfUserAgrees() { return installCommands_.EndRunningTaskIfUserAgrees(); }
    LRESULT OnListNotify(NMHDR* header);
    void AddNode(NodeKind kind, CatalogueNode* node);
    void ShowCommentOf(int entry, bool selected);
    // Writes the catalogue file. With tellUser, a copy kept beside the file
    // is told once, and a failure at the close (only then: before it, the
    // close tries again). True when the run's catalogue is on disk, in the
    // file or beside it.
    bool SaveCatalogueFile(bool tellUser, bool closing);
    // Saves a changed catalogue before code that may end the process runs
    // (a component's Open); a failure is silent and left for the close.
    void SaveChangesNow();

    ProgramLocation location_;
    PathResolver paths_;
    StatusSink status_;
    HWND frame_ = nullptr;
    HWND list_ = nullptr;
    WindowSubclass listSubclass_;
    UniqueFont listFont_;  // after a move to another scale; else the list's own
    Catalogue catalogue_;
    CatalogueDocument document_;
    bool toldKeptCopy_ = false;
    ComponentHost components_;
    Binder binder_;
    CommandContext context_{catalogue_, binder_, paths_, status_};
    ItemCommands itemCommands_{context_};
    CategoryCommands categoryCommands_{context_};
    ToolCommands toolCommands_{context_, location_.programFile};
    // After the catalogue and the components, which a running task uses.
    InstallCommands installCommands_{context_, components_, [this] { SaveChangesNow(); }};
};

}  // namespace corvel::ui
