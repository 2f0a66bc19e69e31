// The check paths window, dialog 136: the categories on the left, the
// selected category's items with their checked paths on the right.
#pragma once

#include <windows.h>

#include <memory>

#include "catalogue/catalogue_model.h"
#include "tools/check_paths/category_list.h"
#include "tools/check_paths/path_pane.h"
#include "tools/check_paths/path_status.h"
#include "ui/window/dialog.h"
#include "ui/window/window_subclass.h"

namespace corvel::ui {

class CCheckPathsDialog : public Dialog {
public:
    // catalogue may be missing; the window then closes at once.
    CCheckPathsDialog(Catalogue* catalogue, const PathResolver& paths, FileExistsCheck fileExists);

    PathFilter Filter() const { return filter_; }
    CPathPane* Pane() { return pane_.get(); }
    CategoryList& Categories() { return categories_; }

protected:
    bool OnInit() override;
    bool OnCommand(int id, int notifyCode, HWND control) override;
    LRESULT OnNotify(NMHDR* header) override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    // Sizes the window to its screen; the list grows downwards with it.
    void PlaceWindow();
    // The list keeps its left, top, width and the gap below it; the pane
    // fills the room to its right.
    void FitChildren();
    RECT PaneArea() const;
    bool CreatePane(const FontDescription& font);
    // After the system's own handling of a move to a monitor of dpi.
    void OnDpiChanged(UINT dpi, LPARAM suggested);
    void ShowSelectedCategory();
    void MarkFilter(HMENU menu) const;

    Catalogue* catalogue_;
    const PathResolver& paths_;
    FileExistsCheck fileExists_;
    PathFilter filter_ = PathFilter::All;
    CategoryList categories_;
    std::unique_ptr<CPathPane> pane_;
    // Runs around the dialog manager's own handling of WM_DPICHANGED.
    WindowSubclass dpiSubclass_;
    UINT dpi_ = 0;
    int gapBelowList_ = 0;  // at dpi_
};

}  // namespace corvel::ui
