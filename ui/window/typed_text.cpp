#include "ui/window/typed_text.h"

#include "catalogue/win32_text.h"
#include "ui/window/label_rules.h"
#include "ui/window/message_box.h"
#include "ui/window/window.h"

namespace corvel::ui {

namespace {

// One text for every module that links this layer, so it lives here rather
// than in each module's resources.
constexpr wchar_t kNamedField[] = L"“%s”中有 GBK（代码页 936）无法保存的字符，请删去或换用其他字符。";
constexpr wchar_t kUnnamedField[] = L"输入的文字中有 GBK（代码页 936）无法保存的字符，请删去或换用其他字符。";

// A static text, or the group box or radio button that introduces a field.
bool IsLabel(HWND window) {
    wchar_t name[16] = {};
    GetClassNameW(window, name, 16);
    if (lstrcmpiW(name, L"Static") == 0) return true;
    if (lstrcmpiW(name, L"Button") != 0) return false;
    const LONG_PTR type = GetWindowLongPtrW(window, GWL_STYLE) & BS_TYPEMASK;
    return type == BS_GROUPBOX || type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON;
}

}  // namespace

std::wstring FieldLabelOf(HWND control) {
    HWND label = GetWindow(control, GW_HWNDPREV);
    if (!label || !IsLabel(label)) return {};
    return FieldNameOfLabel(Window(label).Text());
}

void TellUnstorableText(HWND owner, const std::wstring& fieldName, const std::wstring& caption) {
    std::wstring text = kUnnamedField;
    if (!fieldName.empty()) {
        text = kNamedField;
        text.replace(text.find(L"%s"), 2, fieldName);
    }
    ShowMessageBox(owner, text, caption, MB_OK | MB_ICONSTOP);
}

std::optional<std::string> TypedCp936Text(HWND control, const std::wstring& caption) {
    std::optional<std::string> text = ExactCp936FromWide(Window(control).Text());
    if (text) return text;
    HWND owner = GetParent(control);
    TellUnstorableText(owner, FieldLabelOf(control), caption);
    // Through the dialog manager, so that the default button stays right.
    SendMessageW(owner, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE);
    return std::nullopt;
}

bool PutChosenText(HWND control, const std::wstring& chosen, const std::wstring& caption) {
    if (!ExactCp936FromWide(chosen)) {
        TellUnstorableText(GetParent(control), FieldLabelOf(control), caption);
        return false;
    }
    Window(control).SetText(chosen);
    return true;
}

}  // namespace corvel::ui
