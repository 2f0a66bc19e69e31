#include "tests/e2e/harness/main_window.h"

#include <commctrl.h>

#include "tests/e2e/harness/corvel_process.h"
#include "tests/e2e/harness/polling.h"

namespace corvel::e2e {
namespace {

// Category names hold at most 128 bytes; item names are not limited.
constexpr std::size_t kTextChars = 2048;

struct ControlSearch {
    int id;
    HWND found;
};

BOOL CALLBACK FindControl(HWND window, LPARAM param) {
    auto& search = *reinterpret_cast<ControlSearch*>(param);
    if (GetDlgCtrlID(window) != search.id) return TRUE;
    search.found = window;
    return FALSE;
}

}  // namespace

RemoteBuffer::RemoteBuffer(HANDLE process, std::size_t size)
    : process_(process), address_(VirtualAllocEx(process, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE)) {
    if (!address_)
        throw HarnessError("cannot allocate memory in the program (error " + std::to_string(GetLastError()) + ")");
}

RemoteBuffer::~RemoteBuffer() {
    VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
}

void RemoteBuffer::Write(std::size_t offset, const void* data, std::size_t size) {
    SIZE_T written = 0;
    if (!WriteProcessMemory(process_, Address(offset), data, size, &written) || written != size) {
        throw HarnessError("cannot write the program's memory");
    }
}

void RemoteBuffer::Read(std::size_t offset, void* data, std::size_t size) const {
    SIZE_T read = 0;
    if (!ReadProcessMemory(process_, Address(offset), data, size, &read) || read != size) {
        throw HarnessError("cannot read the program's memory");
    }
}

std::wstring ReadRemoteText(HANDLE process, const void* address, std::size_t max_chars) {
    std::wstring text;
    auto at = static_cast<const wchar_t*>(address);
    // Char by char: the text may end just before an unreadable page.
    for (std::size_t i = 0; i < max_chars; ++i) {
        wchar_t c = 0;
        SIZE_T read = 0;
        if (!ReadProcessMemory(process, at + i, &c, sizeof c, &read) || read != sizeof c) {
            throw HarnessError("cannot read a text in the program's memory");
        }
        if (c == 0) break;
        text += c;
    }
    return text;
}

HWND MainWindow::Control(int id) const {
    ControlSearch search{id, nullptr};
    // The toolbar and the tab strip may sit in bars, not directly in the frame.
    EnumChildWindows(frame_, FindControl, reinterpret_cast<LPARAM>(&search));
    if (!search.found) throw HarnessError("the main window has no control with id " + std::to_string(id));
    return search.found;
}

LRESULT MainWindow::Send(HWND window, UINT message, WPARAM wparam, LPARAM lparam) const {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(window, message, wparam, lparam, SMTO_ABORTIFHUNG, static_cast<UINT>(kStepTimeout.count()),
                             &result)) {
        throw HarnessError("the program does not answer message " + std::to_string(message));
    }
    return static_cast<LRESULT>(result);
}

std::wstring MainWindow::Title() const {
    return WindowText(frame_);
}

int MainWindow::TabCount() const {
    return static_cast<int>(Send(Control(kTabStripId), TCM_GETITEMCOUNT, 0, 0));
}

std::wstring MainWindow::TabText(int index) const {
    // The struct is laid out for our own pointer size, which is the target's.
    RemoteBuffer buffer(process_, sizeof(TCITEMW) + kTextChars * sizeof(wchar_t));
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = static_cast<wchar_t*>(buffer.Address(sizeof(TCITEMW)));
    item.cchTextMax = kTextChars;
    buffer.Write(0, &item, sizeof item);
    buffer.Write(sizeof(TCITEMW), L"", sizeof(wchar_t));
    if (!Send(Control(kTabStripId), TCM_GETITEMW, index, reinterpret_cast<LPARAM>(buffer.Address()))) {
        throw HarnessError("no tab " + std::to_string(index));
    }
    buffer.Read(0, &item, sizeof item);
    return ReadRemoteText(process_, item.pszText, kTextChars);
}

std::vector<std::wstring> MainWindow::TabTexts() const {
    std::vector<std::wstring> texts;
    for (int i = 0, count = TabCount(); i < count; ++i) texts.push_back(TabText(i));
    return texts;
}

int MainWindow::CurrentTab() const {
    return static_cast<int>(Send(Control(kTabStripId), TCM_GETCURSEL, 0, 0));
}

int MainWindow::ItemCount() const {
    return static_cast<int>(Send(Control(kItemListId), LVM_GETITEMCOUNT, 0, 0));
}

std::wstring MainWindow::ItemText(int index) const {
    RemoteBuffer buffer(process_, sizeof(LVITEMW) + kTextChars * sizeof(wchar_t));
    LVITEMW item{};
    item.iSubItem = 0;
    item.pszText = static_cast<wchar_t*>(buffer.Address(sizeof(LVITEMW)));
    item.cchTextMax = kTextChars;
    buffer.Write(0, &item, sizeof item);
    buffer.Write(sizeof(LVITEMW), L"", sizeof(wchar_t));
    Send(Control(kItemListId), LVM_GETITEMTEXTW, index, reinterpret_cast<LPARAM>(buffer.Address()));
    // The list may point pszText at its own copy (callback texts).
    buffer.Read(0, &item, sizeof item);
    return ReadRemoteText(process_, item.pszText, kTextChars);
}

std::vector<std::wstring> MainWindow::ItemTexts() const {
    std::vector<std::wstring> texts;
    for (int i = 0, count = ItemCount(); i < count; ++i) texts.push_back(ItemText(i));
    return texts;
}

int MainWindow::SelectedCount() const {
    return static_cast<int>(Send(Control(kItemListId), LVM_GETSELECTEDCOUNT, 0, 0));
}

void MainWindow::SelectItem(int index) const {
    LVITEMW state{};
    state.stateMask = LVIS_SELECTED;
    state.state = LVIS_SELECTED;
    RemoteBuffer buffer(process_, sizeof state);
    buffer.Write(0, &state, sizeof state);
    if (!Send(Control(kItemListId), LVM_SETITEMSTATE, index, reinterpret_cast<LPARAM>(buffer.Address())))
        throw HarnessError("cannot select entry " + std::to_string(index));
}

bool MainWindow::ButtonEnabled(WORD command) const {
    HWND toolbar = Control(kToolbarId);
    // A missing button would read as enabled (the toolbar answers -1).
    if (Send(toolbar, TB_COMMANDTOINDEX, command, 0) < 0) {
        throw HarnessError("the toolbar has no button " + std::to_string(command));
    }
    return Send(toolbar, TB_ISBUTTONENABLED, command, 0) != 0;
}

std::wstring MainWindow::StatusText() const {
    // WM_GETTEXT of a status bar gives pane 0; Wine copies it across processes.
    HWND status = Control(kStatusBarId);
    wchar_t text[kTextChars] = {};
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutW(status, WM_GETTEXT, kTextChars, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG,
                             static_cast<UINT>(kStepTimeout.count()), &copied)) {
        throw HarnessError("the status bar does not answer");
    }
    return text;
}

void MainWindow::Command(WORD id) const {
    PostCommand(frame_, id);
}

}  // namespace corvel::e2e
