// The one place that subclasses a window made elsewhere (a control of a
// dialog, or a dialog itself): its messages reach a handler, a member
// function through a lambda, before the window's own procedure.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <functional>

namespace corvel::ui {

class WindowSubclass {
public:
    // Gets every message of the window, WM_NCDESTROY last; calls Default
    // for the window's own handling. An exception ends as the answer 0.
    using Handler = std::function<LRESULT(UINT message, WPARAM wParam, LPARAM lParam)>;

    WindowSubclass() = default;
    // Removes the subclass from a window still there.
    ~WindowSubclass();
    WindowSubclass(const WindowSubclass&) = delete;
    WindowSubclass& operator=(const WindowSubclass&) = delete;

    // False when the system refuses.
    bool Attach(HWND window, Handler handler);
    // The window's own handling of a message, for the handler to call.
    LRESULT Default(UINT message, WPARAM wParam, LPARAM lParam) const {
        return DefSubclassProc(window_, message, wParam, lParam);
    }
    HWND Handle() const { return window_; }

private:
    void Detach();
    static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                      DWORD_PTR self);

    HWND window_ = nullptr;
    Handler handler_;
};

}  // namespace corvel::ui
