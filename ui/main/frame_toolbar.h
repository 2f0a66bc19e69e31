// The main frame's toolbar: its buttons, and their images drawn at the size
// that the window's DPI asks for.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <span>

#include "catalogue/unique_handle.h"

namespace corvel::ui {

class FrameToolbar {
public:
    FrameToolbar() = default;
    FrameToolbar(const FrameToolbar&) = delete;
    FrameToolbar& operator=(const FrameToolbar&) = delete;

    // Creates the toolbar as a child of parent with buttons for commands
    // (0 stands for a separator) and images for dpi.
    bool Create(HWND parent, int id, std::span<const int> commands, UINT dpi);
    // Replaces the images by those for dpi; the old lists are destroyed.
    bool SetDpi(UINT dpi);

    HWND Handle() const { return toolbar_; }
    // The side of one button image, in pixels.
    int ImageSize() const { return imageSize_; }

private:
    HWND toolbar_ = nullptr;
    // The toolbar does not free its lists; it is gone, with the frame, before
    // these go.
    UniqueImageList images_;
    UniqueImageList disabledImages_;
    int imageSize_ = 0;
};

}  // namespace corvel::ui
