// The category list of the check paths window: an owner-drawn list box of
// tall rounded rows, each carrying its category, with the name as a tooltip.
#pragma once

#include <windows.h>

#include <string>

#include "catalogue_model.h"

namespace corvel::ui {

class CategoryList {
public:
    CategoryList() = default;
    ~CategoryList();
    CategoryList(const CategoryList&) = delete;
    CategoryList& operator=(const CategoryList&) = delete;

    // Takes over the dialog's list box; owner receives the tooltip's requests.
    void Attach(HWND list, HWND owner);
    // One row per category of root, in catalogue order, none selected.
    void Fill(Catalogue& catalogue);
    CatalogueNode* SelectedCategory() const;

    void DrawRow(const DRAWITEMSTRUCT& item) const;
    // Answers the tooltip's request for its text; false when it is not ours.
    bool OnNotify(NMHDR* header);

    HWND Handle() const { return list_; }

private:
    static LRESULT CALLBACK ListProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                          DWORD_PTR self);
    CatalogueNode* CategoryOfRow(int row) const;
    void OnPointerMoved(LPARAM position);

    HWND list_ = nullptr;
    HWND tip_ = nullptr;
    int hoveredRow_ = -1;
    std::wstring tipText_;
};

}  // namespace corvel::ui
