#include "catalogue/shell/shell_choosers.h"

#include <commdlg.h>
#include <shlobj.h>

#include <utility>
#include <vector>

#include "catalogue/unique_handle.h"
#include "catalogue/win32_text.h"

namespace corvel {

namespace {

// Room for any path the system can make, so none is cut.
constexpr DWORD kPathRoom = 32768;

ChooserHook& Hook() {
    static ChooserHook hook;
    return hook;
}

}  // namespace

void SetChooserHookForTesting(ChooserHook hook) {
    Hook() = std::move(hook);
}

std::wstring FileDialogFilter(std::wstring_view filter) {
    std::wstring pairs(filter);
    if (pairs.empty()) return {};
    for (wchar_t& c : pairs) {
        if (c == L'|') c = L'\0';
    }
    while (pairs.size() < 2 || pairs[pairs.size() - 1] != L'\0' || pairs[pairs.size() - 2] != L'\0') pairs += L'\0';
    return pairs;
}

std::string Cp936PathFromWide(std::wstring_view path) {
    return ExactCp936FromWide(path).value_or(std::string());
}

std::wstring ChooseFolder(HWND owner, const std::wstring& title) {
    if (title.empty() || !IsWindow(owner)) return {};
    if (Hook()) return Hook()();
    // The new dialog style needs OLE on this thread.
    HRESULT ole = OleInitialize(nullptr);
    std::wstring display(MAX_PATH, L'\0');
    BROWSEINFOW info = {};
    info.hwndOwner = owner;
    info.pszDisplayName = display.data();
    info.lpszTitle = title.c_str();
    info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE;
    std::wstring chosen;
    if (UniqueCoTaskMemory<PIDLIST_ABSOLUTE> list{SHBrowseForFolderW(&info)}) {
        std::vector<wchar_t> path(kPathRoom, L'\0');
        if (SHGetPathFromIDListEx(list.get(), path.data(), kPathRoom, GPFIDL_DEFAULT)) chosen = path.data();
    }
    if (SUCCEEDED(ole)) OleUninitialize();
    return chosen;
}

std::wstring ChooseFile(bool open, const std::wstring& filter, HWND owner) {
    std::wstring wideFilter = FileDialogFilter(filter);
    if (wideFilter.empty()) return {};
    if (Hook()) return Hook()();
    std::vector<wchar_t> path(kPathRoom, L'\0');
    OPENFILENAMEW info = {};
    info.lStructSize = sizeof info;
    info.hwndOwner = IsWindow(owner) ? owner : nullptr;
    info.lpstrFilter = wideFilter.c_str();
    info.nFilterIndex = 1;
    info.lpstrFile = path.data();
    info.nMaxFile = kPathRoom;
    // The program resolves paths against its own folder, never the current one.
    info.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT | OFN_NOCHANGEDIR;
    BOOL chosen = open ? GetOpenFileNameW(&info) : GetSaveFileNameW(&info);
    if (!chosen) return {};
    return path.data();
}

}  // namespace corvel
