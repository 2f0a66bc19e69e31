#include "ui/window/label_rules.h"

namespace corvel::ui {

namespace {

bool IsColon(wchar_t c) {
    return c == L':' || c == L'\xFF1A';
}

// The index of the lone "&" of text, or npos.
std::size_t MnemonicMark(std::wstring_view text) {
    for (std::size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != L'&') continue;
        if (text[i + 1] != L'&') return i;
        ++i;
    }
    return std::wstring_view::npos;
}

}  // namespace

wchar_t MnemonicOf(std::wstring_view text) {
    const std::size_t mark = MnemonicMark(text);
    if (mark == std::wstring_view::npos) return 0;
    const wchar_t c = text[mark + 1];
    return c >= L'a' && c <= L'z' ? static_cast<wchar_t>(c - L'a' + L'A') : c;
}

std::wstring FieldNameOfLabel(std::wstring_view text) {
    std::wstring name;
    const std::size_t mark = MnemonicMark(text);
    for (std::size_t i = 0; i < text.size() && !IsColon(text[i]); ++i) {
        // The Chinese way of showing a mnemonic adds "(&N)" to the words.
        if (mark != std::wstring_view::npos && i + 1 == mark && text[i] == L'(' && mark + 2 < text.size() &&
            text[mark + 2] == L')') {
            i = mark + 2;
            continue;
        }
        if (text[i] == L'&' && i + 1 < text.size()) ++i;  // "&&" stays one "&", "&N" is "N"
        name += text[i];
    }
    const std::size_t first = name.find_first_not_of(L"* ");
    name.erase(0, first == std::wstring::npos ? name.size() : first);
    while (!name.empty() && name.back() == L' ') name.pop_back();
    return name;
}

std::wstring MenuTextOf(std::wstring_view name) {
    std::wstring text;
    for (wchar_t c : name) {
        if (c == L'&') text += L'&';
        text += c;
    }
    return text;
}

}  // namespace corvel::ui
