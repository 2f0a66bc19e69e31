#include "tools/check_paths/pane_font.h"

#include "ui/window/display_scale.h"

namespace corvel::ui {

FontDescription DescribeFont(HFONT font, UINT dpi) {
    FontDescription description;
    description.dpi = dpi;
    if (!GetObjectW(font ? font : GetStockObject(DEFAULT_GUI_FONT), sizeof description.font, &description.font))
        GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof description.font, &description.font);
    return description;
}

HFONT CreateFontForDpi(const FontDescription& description, UINT dpi, int tallerBy, bool underline) {
    LOGFONTW font = description.font;
    font.lfHeight = MulDiv(font.lfHeight, static_cast<int>(dpi), static_cast<int>(description.dpi));
    // A negative height counts the characters alone, a positive one the cell.
    const int growth = ScaleToDpi(tallerBy, static_cast<int>(dpi));
    font.lfHeight += font.lfHeight < 0 ? -growth : growth;
    if (underline) font.lfUnderline = TRUE;
    return CreateFontIndirectW(&font);
}

}  // namespace corvel::ui
