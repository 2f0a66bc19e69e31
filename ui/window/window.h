// A thin wrapper around a window handle, and a base class for windows of
// our own whose messages go to a member function.
#pragma once

#include <windows.h>

#include <initializer_list>
#include <string>

namespace corvel::ui {

class Window {
public:
    Window() = default;
    explicit Window(HWND hwnd) : hwnd_(hwnd) {}

    HWND Handle() const { return hwnd_; }
    explicit operator bool() const { return hwnd_ != nullptr; }

    LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
        return SendMessageW(hwnd_, message, wParam, lParam);
    }
    bool Post(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
        return PostMessageW(hwnd_, message, wParam, lParam) != 0;
    }
    void SetText(const std::wstring& text) const { SetWindowTextW(hwnd_, text.c_str()); }
    std::wstring Text() const;
    HWND Child(int id) const { return GetDlgItem(hwnd_, id); }

protected:
    HWND hwnd_ = nullptr;
};

// A window of a class registered by us; messages reach HandleMessage.
class MessageWindow : public Window {
public:
    MessageWindow() = default;
    virtual ~MessageWindow();
    MessageWindow(const MessageWindow&) = delete;
    MessageWindow& operator=(const MessageWindow&) = delete;

    struct CreateParams {
        const wchar_t* className;
        const wchar_t* title = L"";
        DWORD style = WS_OVERLAPPEDWINDOW;
        DWORD exStyle = 0;
        int x = CW_USEDEFAULT, y = CW_USEDEFAULT, width = CW_USEDEFAULT, height = CW_USEDEFAULT;
        HWND parent = nullptr;
        HMENU menu = nullptr;
        HICON icon = nullptr;
    };
    bool Create(const CreateParams& params);

protected:
    virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Default(UINT message, WPARAM wParam, LPARAM lParam) {
        return DefWindowProcW(hwnd_, message, wParam, lParam);
    }

private:
    static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
};

// The module whose resources the layer loads: the program by default; a
// component (a DLL that links its own copy of this layer) sets itself.
HINSTANCE ResourceModule();
void SetResourceModule(HINSTANCE module);

// Loads a string resource of the resource module; empty when missing.
std::wstring LoadResourceString(UINT id);
// The string resource with its %s and %i placeholders replaced by args in order.
std::wstring FormatResourceString(UINT id, std::initializer_list<std::wstring> args);

}  // namespace corvel::ui
