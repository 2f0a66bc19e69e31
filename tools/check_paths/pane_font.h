// The check paths window's font, kept as a description that can be made
// for any DPI: the dialog manager's own font is made for one DPI and may be
// replaced when the window moves to another monitor.
#pragma once

#include <windows.h>

namespace corvel::ui {

struct FontDescription {
    LOGFONTW font{};
    UINT dpi = 96;  // the one font was made for
};

// font as made for dpi; the default GUI font when font is null.
FontDescription DescribeFont(HFONT font, UINT dpi);

// The described font for dpi, taller by tallerBy pixels at 96 DPI; the
// caller deletes it.
HFONT CreateFontForDpi(const FontDescription& description, UINT dpi, int tallerBy = 0, bool underline = false);

}  // namespace corvel::ui
