// The category list of the check paths window: an owner-drawn list box of
// tall rounded rows, each carrying its category, with the name as a tooltip.
// Space and Enter show the focused row's category as a click does.
#pragma once

#include <windows.h>

#include <string>

#include "catalogue/catalogue_model.h"
#include "catalogue/unique_handle.h"
#include "tools/check_paths/pane_font.h"
#include "ui/window/window_subclass.h"

namespace corvel::ui {

class CategoryList {
public:
    CategoryList() = default;
    CategoryList(const CategoryList&) = delete;
    CategoryList& operator=(const CategoryList&) = delete;

    // Takes over the dialog's list box, sized for dpi and drawn in font;
    // owner receives the tooltip's requests and the choices.
    void Attach(HWND list, HWND owner, const FontDescription& font, UINT dpi);
    // Rows and font for a monitor of dpi.
    void SetDpi(UINT dpi);
    // One row per category of root, in catalogue order, none selected.
    void Fill(Catalogue& catalogue);
    CatalogueNode* SelectedCategory() const;

    void DrawRow(const DRAWITEMSTRUCT& item) const;
    // Answers the tooltip's request for its text; false when it is not ours.
    bool OnNotify(NMHDR* header);

    HWND Handle() const { return list_; }
    HFONT Font() const { return font_.get(); }

private:
    LRESULT OnListMessage(UINT message, WPARAM wParam, LPARAM lParam);
    CatalogueNode* CategoryOfRow(int row) const;
    void OnPointerMoved(LPARAM position);
    // Selects the focused row and tells the owner, as a click would.
    void ChooseFocusedRow();

    HWND list_ = nullptr;
    HWND tip_ = nullptr;
    HWND owner_ = nullptr;
    FontDescription fontDescription_;
    UniqueFont font_;
    UINT dpi_ = 0;
    int cornerSize_ = 0;
    int hoveredRow_ = -1;
    std::wstring tipText_;
    WindowSubclass subclass_;
};

}  // namespace corvel::ui
