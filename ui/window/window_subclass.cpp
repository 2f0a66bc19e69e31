#include "ui/window/window_subclass.h"

#include "catalogue/no_throw.h"

namespace corvel::ui {

WindowSubclass::~WindowSubclass() {
    Detach();
}

bool WindowSubclass::Attach(HWND window, Handler handler) {
    Detach();
    handler_ = std::move(handler);
    // The object is the subclass's id too, so that one window can carry several.
    if (!SetWindowSubclass(window, Procedure, reinterpret_cast<UINT_PTR>(this), reinterpret_cast<DWORD_PTR>(this)))
        return false;
    window_ = window;
    return true;
}

void WindowSubclass::Detach() {
    if (window_) RemoveWindowSubclass(window_, Procedure, reinterpret_cast<UINT_PTR>(this));
    window_ = nullptr;
}

LRESULT CALLBACK WindowSubclass::Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                           DWORD_PTR selfData) {
    auto* self = reinterpret_cast<WindowSubclass*>(selfData);
    // Removed first: the window's own procedure ends its life behind it.
    if (message == WM_NCDESTROY) RemoveWindowSubclass(hwnd, Procedure, id);
    LRESULT result = NoThrow<LRESULT>(0, [&] { return self->handler_(message, wParam, lParam); });
    if (message == WM_NCDESTROY) self->window_ = nullptr;
    return result;
}

}  // namespace corvel::ui
