// The right-hand pane of the check paths window: the selected category's
// install items with their paths, scrollable, each name a link that opens
// the item editor.
#pragma once

#include <windows.h>

#include <memory>
#include <vector>

#include "catalogue/catalogue_model.h"
#include "catalogue/shell/icon_cache.h"
#include "catalogue/unique_handle.h"
#include "tools/check_paths/entry_painter.h"
#include "tools/check_paths/pane_font.h"
#include "tools/check_paths/pane_scrolling.h"
#include "tools/check_paths/path_layout.h"
#include "tools/check_paths/path_status.h"
#include "ui/window/window.h"

namespace corvel::ui {

class CPathPane : public MessageWindow {
public:
    CPathPane(Catalogue& catalogue, const PathResolver& paths, FileExistsCheck fileExists);

    // A child of parent at area with the given id, drawing in font made for
    // the window's dpi.
    bool Create(HWND parent, const RECT& area, int id, const FontDescription& font, UINT dpi);
    // Remakes fonts, icons and distances for a monitor of dpi and lays the
    // entries out again.
    void SetDpi(UINT dpi);

    // Checks and lays out the category's items under filter, scrolled to the top.
    void Show(CatalogueNode* category, PathFilter filter);
    // Edits the item of entry in the item editor and lays its row out again.
    void EditEntry(std::size_t entry);

    struct Entry {
        CatalogueNode* item;
        PathStatuses statuses;
        int icon;  // index in the icon cache, -1 for none, or not yet looked up
    };
    const std::vector<Entry>& Entries() const { return entries_; }
    // Where each entry stands, its hot spot included; one per entry.
    const std::vector<EntryPlacement>& Placements() const { return placements_; }
    LayoutSize ContentSize() const { return content_; }
    POINT ScrollPosition() const { return {scrollX_, scrollY_}; }
    // The entry whose name is at a point of the pane's client area, or -1.
    int HotSpotAt(POINT client) const;

    UINT Dpi() const { return dpi_; }
    const LayoutMetrics& Metrics() const { return metrics_; }
    const EntryPainter& Painter() const { return *painter_; }
    HIMAGELIST Icons() const { return icons_.ImageList(); }
    HCURSOR HandCursor() const { return handCursor_; }

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    bool MakeForDpi(UINT dpi);
    EntryPlacement Place(HDC dc, const Entry& entry, int top) const;
    void LayOutAll();
    // Sets ranges and pages from the content and client sizes; positions
    // go back to 0 when asked, else stay where the new ranges allow.
    void UpdateScrollBars(bool toStart);
    void ScrollTo(int bar, int position);
    void Scroll(int bar, ScrollStep step, int trackPosition = 0);
    void OnScrollMessage(int bar, WPARAM wParam);
    void OnKey(WPARAM key);
    void OnWheel(int delta);
    void Paint();
    void PaintEntries(HDC dc, const RECT& area);
    int IconOf(Entry& entry);

    Catalogue& catalogue_;
    const PathResolver& paths_;
    FileExistsCheck fileExists_;
    FontDescription font_;
    UINT dpi_ = 0;
    LayoutMetrics metrics_;
    std::unique_ptr<EntryPainter> painter_;
    FileIconCache icons_;
    UniqueModule helpProgram_;  // holds the pointing-hand cursor
    HCURSOR handCursor_ = nullptr;

    std::vector<Entry> entries_;
    std::vector<EntryPlacement> placements_;
    PathFilter filter_ = PathFilter::All;
    LayoutSize content_;
    int scrollX_ = 0;
    int scrollY_ = 0;
    WheelSteps wheel_;
    bool updatingScrollBars_ = false;
};

}  // namespace corvel::ui
