// Measures and draws one install item of the check paths pane: its icon,
// its name as a link, and a block for each of its paths.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <array>
#include <string>

#include "catalogue/unique_handle.h"
#include "tools/check_paths/pane_font.h"
#include "tools/check_paths/path_layout.h"
#include "tools/check_paths/path_status.h"

namespace corvel::ui {

// What one item shows, in wide text.
struct EntryTexts {
    struct Block {
        std::wstring text;        // as stored
        std::wstring resolved;    // or the invalid-format note
        std::wstring parameters;  // with its prefix; empty when none
        COLORREF colour = 0;      // of the resolved path
    };
    std::wstring name;
    std::array<Block, kCheckedFieldCount> blocks;
};

class EntryPainter {
public:
    // Draws in the described font made for dpi; the name in it 3 pixels
    // (at 96 DPI) taller and underlined.
    EntryPainter(const FontDescription& font, UINT dpi);
    EntryPainter(const EntryPainter&) = delete;
    EntryPainter& operator=(const EntryPainter&) = delete;

    EntryTexts TextsOf(const CatalogueNode& item, const PathStatuses& statuses, const PathResolver& paths) const;
    EntryMeasures Measure(HDC dc, const EntryTexts& texts, const PathStatuses& statuses, PathFilter filter) const;
    // Draws in content coordinates; icon -1 leaves the icon out.
    void Draw(HDC dc, const EntryTexts& texts, const EntryPlacement& placement, HIMAGELIST icons, int icon) const;

    HFONT Font() const { return font_.get(); }
    HFONT NameFont() const { return nameFont_.get(); }

private:
    LayoutSize TextSize(HDC dc, const std::wstring& text) const;
    void PutText(HDC dc, LayoutPoint at, const std::wstring& text, COLORREF colour, COLORREF background) const;

    UniqueFont font_;
    UniqueFont nameFont_;
    std::array<std::wstring, kCheckedFieldCount> labels_;
    std::wstring invalidNote_;
    std::wstring parametersPrefix_;
};

}  // namespace corvel::ui
