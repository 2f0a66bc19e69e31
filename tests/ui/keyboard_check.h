// What a dialog offers a user without a mouse, read from its windows: the
// Tab order, the labels and their mnemonics, Enter and Esc. Works on a
// dialog of this process or of another one. Failures are reported through
// GoogleTest, naming the control.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <cwctype>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "ui/window/label_rules.h"

namespace corvel::testing {

struct KeyboardExpectations {
    // Fields that have no label: say why at the call.
    std::set<int> unlabelled;
    // Esc reaches the dialog as IDCANCEL although no button has that id.
    bool escapeWithoutCancelButton = false;
    // Enter has no button of its own to press: say why at the call.
    bool noDefaultButton = false;
};

namespace keyboard_detail {

inline std::wstring ClassOf(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

inline bool IsClass(HWND window, const wchar_t* name) {
    return lstrcmpiW(ClassOf(window).c_str(), name) == 0;
}

inline LONG_PTR StyleOf(HWND window) {
    return GetWindowLongPtrW(window, GWL_STYLE);
}

inline LONG_PTR ButtonType(HWND window) {
    return IsClass(window, L"Button") ? StyleOf(window) & BS_TYPEMASK : -1;
}

inline bool IsRadio(HWND window) {
    const LONG_PTR type = ButtonType(window);
    return type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON;
}

inline bool IsGroupBox(HWND window) {
    return ButtonType(window) == BS_GROUPBOX;
}

inline bool IsReadOnlyEdit(HWND window) {
    return IsClass(window, L"Edit") && (StyleOf(window) & ES_READONLY);
}

// A control that holds what the user types or chooses, and so needs a label.
inline bool IsField(HWND window) {
    return IsClass(window, L"Edit") || IsClass(window, L"ComboBox") || IsClass(window, L"ListBox") ||
           IsClass(window, WC_LISTVIEWW);
}

inline bool IsUsable(HWND window) {
    return IsWindowVisible(window) && IsWindowEnabled(window);
}

// What the user must be able to reach: every usable field and button; a
// read-only edit only when it was made a tab stop.
inline bool TakesInput(HWND window) {
    if (!IsUsable(window)) return false;
    if (StyleOf(window) & WS_TABSTOP) return true;
    if (IsReadOnlyEdit(window) || IsGroupBox(window)) return false;
    return IsField(window) || IsClass(window, L"Button");
}

inline bool IsLabel(HWND window) {
    return (IsClass(window, L"Static") && !(StyleOf(window) & SS_NOPREFIX)) || IsGroupBox(window) || IsRadio(window);
}

inline std::wstring TextOf(HWND window) {
    wchar_t text[512] = {};
    GetWindowTextW(window, text, 512);
    return text;
}

inline std::string Name(HWND window) {
    std::wstring text = TextOf(window);
    std::string name = "control " + std::to_string(GetDlgCtrlID(window)) + " (";
    for (wchar_t c : text) name += c < 0x80 ? static_cast<char>(c) : '?';
    return name + ")";
}

inline RECT AreaOf(HWND dialog, HWND control) {
    RECT area{};
    GetWindowRect(control, &area);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&area), 2);
    return area;
}

inline std::vector<HWND> Children(HWND dialog) {
    std::vector<HWND> children;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        children.push_back(child);
    return children;
}

// The controls of window's group: from the last one at or before it that
// starts a group (WS_GROUP) up to the next one that does.
inline std::set<HWND> GroupOf(HWND dialog, HWND window) {
    std::set<HWND> group;
    for (HWND child : Children(dialog)) {
        if (StyleOf(child) & WS_GROUP) {
            if (group.count(window)) break;
            group.clear();
        }
        group.insert(child);
    }
    return group;
}

}  // namespace keyboard_detail

// The controls Tab visits from the first tab stop, in order, each once.
inline std::vector<HWND> TabOrder(HWND dialog) {
    std::vector<HWND> order;
    HWND first = GetNextDlgTabItem(dialog, nullptr, FALSE);
    for (HWND at = first; at && order.size() < 200; at = GetNextDlgTabItem(dialog, at, FALSE)) {
        if (!order.empty() && at == first) break;
        order.push_back(at);
    }
    return order;
}

// Tab reaches every control that takes input, once, in the order of the
// layout (rows from the top, in a row from the left); every field has a
// label with a mnemonic just before it; each label's mnemonic leads to the
// control after it; no mnemonic is used twice; Enter and Esc have buttons.
inline void ExpectKeyboardUsable(HWND dialog, const KeyboardExpectations& expected = {}) {
    using namespace keyboard_detail;
    ASSERT_TRUE(IsWindow(dialog));
    const std::vector<HWND> order = TabOrder(dialog);
    const std::set<HWND> reached(order.begin(), order.end());
    EXPECT_EQ(reached.size(), order.size()) << "Tab visits a control twice";

    for (HWND child : Children(dialog)) {
        if (!TakesInput(child)) continue;
        bool found = reached.count(child) > 0;
        // The arrow keys move within a group of radio buttons; Tab enters it once.
        if (!found && IsRadio(child)) {
            for (HWND member : GroupOf(dialog, child)) found = found || reached.count(member) > 0;
        }
        EXPECT_TRUE(found) << Name(child) << " cannot be reached with Tab";
    }

    for (std::size_t i = 1; i < order.size(); ++i) {
        const RECT before = AreaOf(dialog, order[i - 1]), after = AreaOf(dialog, order[i]);
        const bool sameRow = after.top < before.bottom && before.top < after.bottom;
        const bool follows = sameRow ? after.left > before.left : after.top > before.top;
        EXPECT_TRUE(follows) << Name(order[i]) << " comes after " << Name(order[i - 1])
                             << " in the Tab order but not in the layout";
    }

    std::map<wchar_t, HWND> mnemonics;
    for (HWND child : Children(dialog)) {
        if (!IsClass(child, L"Button") && !IsLabel(child)) continue;
        const wchar_t mnemonic = ui::MnemonicOf(TextOf(child));
        if (!mnemonic) continue;
        auto [at, fresh] = mnemonics.emplace(mnemonic, child);
        EXPECT_TRUE(fresh) << Name(child) << " and " << Name(at->second) << " share a mnemonic";
        if (IsLabel(child) && !IsRadio(child)) {
            HWND next = GetWindow(child, GW_HWNDNEXT);
            EXPECT_TRUE(next && (StyleOf(next) & WS_TABSTOP) && !IsLabel(next))
                << "the mnemonic of " << Name(child) << " leads to no field right after it";
        }
    }

    for (HWND field : order) {
        if (!IsField(field) || expected.unlabelled.count(GetDlgCtrlID(field))) continue;
        HWND label = GetWindow(field, GW_HWNDPREV);
        EXPECT_TRUE(label && IsLabel(label) && ui::MnemonicOf(TextOf(label)))
            << Name(field) << " has no label with a mnemonic just before it";
    }

    const LRESULT defaultId = SendMessageW(dialog, DM_GETDEFID, 0, 0);
    if (!expected.noDefaultButton) {
        EXPECT_EQ(HIWORD(defaultId), DC_HASDEFID) << "Enter has no default button";
        HWND button = GetDlgItem(dialog, LOWORD(defaultId));
        EXPECT_TRUE(button && reached.count(button)) << "the default button is not in the Tab order";
    }
    if (!expected.escapeWithoutCancelButton) {
        EXPECT_NE(GetDlgItem(dialog, IDCANCEL), nullptr) << "Esc has no cancel button";
    }
}

// Each button, check box, radio button, group box caption and one-line
// static shows its whole text in the dialog's font. In this process only.
inline void ExpectTextsFit(HWND dialog) {
    using namespace keyboard_detail;
    HDC dc = GetDC(dialog);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(dialog, WM_GETFONT, 0, 0)));
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    for (HWND child : Children(dialog)) {
        const bool isStatic = IsClass(child, L"Static");
        const LONG_PTR type = ButtonType(child);
        if (!isStatic && type != BS_PUSHBUTTON && type != BS_DEFPUSHBUTTON && type != BS_AUTOCHECKBOX &&
            type != BS_CHECKBOX && !IsRadio(child) && type != BS_GROUPBOX)
            continue;
        std::wstring text = TextOf(child);
        RECT client{};
        GetClientRect(child, &client);
        if (text.empty() || (isStatic && client.bottom >= 2 * metrics.tmHeight)) continue;
        RECT needed{};
        DrawTextW(dc, text.c_str(), -1, &needed, DT_CALCRECT | DT_SINGLELINE);
        // Room the control keeps for itself: a button's edges, a box, a frame.
        int kept = 0;
        if (type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON) kept = 2 * GetSystemMetrics(SM_CXEDGE) + 2;
        if (type == BS_AUTOCHECKBOX || type == BS_CHECKBOX || IsRadio(child)) kept = metrics.tmHeight + 2;
        if (type == BS_GROUPBOX) kept = 2 * metrics.tmAveCharWidth;
        EXPECT_LE(needed.right + kept, client.right) << Name(child) << " cuts its text";
    }
    SelectObject(dc, old);
    ReleaseDC(dialog, dc);
}

// Alt with the mnemonic's letter as the dialog manager receives it, handed
// to it at once. In this process only.
inline void PressMnemonic(HWND dialog, wchar_t letter) {
    HWND focus = GetFocus();
    MSG message{focus ? focus : dialog, WM_SYSCHAR, static_cast<WPARAM>(towlower(letter)), LPARAM{1} << 29, 0, {}};
    IsDialogMessageW(dialog, &message);
}

// A key pressed and released on the focused control, through the dialog
// manager. In this process only.
inline void PressKey(HWND dialog, UINT key, wchar_t character = 0) {
    HWND focus = GetFocus();
    MSG down{focus, WM_KEYDOWN, key, 1, 0, {}};
    IsDialogMessageW(dialog, &down);
    if (character) {
        MSG typed{GetFocus(), WM_CHAR, character, 1, 0, {}};
        IsDialogMessageW(dialog, &typed);
    }
    MSG up{GetFocus(), WM_KEYUP, key, LPARAM(0xC0000001), 0, {}};
    IsDialogMessageW(dialog, &up);
}

// The control with the keyboard focus in the thread of dialog, which may be
// another thread or another process.
inline HWND FocusedControlOf(HWND dialog) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &info) ? info.hwndFocus : nullptr;
}

// Alt with the mnemonic's letter, or a key pressed and released, posted to
// the focused control of a dialog whose modal loop runs in another thread
// or process; that loop hands it to the dialog manager.
inline void PostMnemonic(HWND dialog, wchar_t letter) {
    HWND focus = FocusedControlOf(dialog);
    if (!focus || !IsChild(dialog, focus)) focus = dialog;
    PostMessageW(focus, WM_SYSCHAR, static_cast<WPARAM>(towlower(letter)), LPARAM{1} << 29);
}
inline void PostKey(HWND dialog, UINT key) {
    HWND focus = FocusedControlOf(dialog);
    if (!focus || !IsChild(dialog, focus)) focus = dialog;
    PostMessageW(focus, WM_KEYDOWN, key, 1);
    PostMessageW(focus, WM_KEYUP, key, LPARAM(0xC0000001));
}

}  // namespace corvel::testing
