#include "ui/window/window.h"

#include "catalogue/no_throw.h"

namespace corvel::ui {

std::wstring Window::Text() const {
    int length = GetWindowTextLengthW(hwnd_);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(hwnd_, text.data(), length + 1)));
    return text;
}

MessageWindow::~MessageWindow() {
    if (hwnd_) {
        SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
        DestroyWindow(hwnd_);
    }
}

bool MessageWindow::Create(const CreateParams& params) {
    HINSTANCE instance = ResourceModule();
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof existing;
    if (!GetClassInfoExW(instance, params.className, &existing)) {
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = Procedure;
        windowClass.hInstance = instance;
        windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        windowClass.lpszClassName = params.className;
        windowClass.hIcon = params.icon;
        windowClass.hIconSm = params.icon;
        if (!RegisterClassExW(&windowClass)) return false;
    }
    return CreateWindowExW(params.exStyle, params.className, params.title, params.style, params.x, params.y,
                           params.width, params.height, params.parent, params.menu, instance, this) != nullptr;
}

LRESULT MessageWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return Default(message, wParam, lParam);
}

LRESULT CALLBACK MessageWindow::Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<MessageWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (message == WM_NCCREATE) {
        self = static_cast<MessageWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    if (!self) return DefWindowProcW(hwnd, message, wParam, lParam);
    // A window whose creation met an exception is not made.
    const LRESULT failure = message == WM_NCCREATE ? FALSE : message == WM_CREATE ? -1 : 0;
    LRESULT result = NoThrow(failure, [&] { return self->HandleMessage(message, wParam, lParam); });
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
    }
    return result;
}

static HINSTANCE& ResourceModuleSlot() {
    static HINSTANCE module = GetModuleHandleW(nullptr);
    return module;
}

HINSTANCE ResourceModule() {
    return ResourceModuleSlot();
}

void SetResourceModule(HINSTANCE module) {
    ResourceModuleSlot() = module;
}

std::wstring LoadResourceString(UINT id) {
    const wchar_t* text = nullptr;
    int length = LoadStringW(ResourceModule(), id, reinterpret_cast<LPWSTR>(&text), 0);
    return length > 0 ? std::wstring(text, static_cast<std::size_t>(length)) : std::wstring();
}

// Placeholders are replaced one after another, so an argument that itself
// holds "%s" is never expanded again.
std::wstring FormatResourceString(UINT id, std::initializer_list<std::wstring> args) {
    std::wstring text = LoadResourceString(id);
    std::size_t from = 0;
    for (const std::wstring& arg : args) {
        std::size_t slot = from;
        while ((slot = text.find(L'%', slot)) != std::wstring::npos && slot + 1 < text.size() &&
               text[slot + 1] != L's' && text[slot + 1] != L'i')
            ++slot;
        if (slot == std::wstring::npos || slot + 1 >= text.size()) break;
        text.replace(slot, 2, arg);
        from = slot + arg.size();
    }
    return text;
}

}  // namespace corvel::ui
