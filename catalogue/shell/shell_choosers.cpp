#include "shell_choosers.h"

#include <commdlg.h>
#include <shlobj.h>

#include <vector>

#include "win32_text.h"

namespace corvel {

namespace {

// Room for any path the system can make, so none is cut.
constexpr DWORD kPathRoom = 32768;

}  // namespace

std::wstring FileDialogFilter(std::string_view filter) {
    // Converted first: a trail byte may be 0x7C, the "|".
    std::wstring wide = WideFromCp936(filter);
    if (wide.empty()) return {};
    for (wchar_t& c : wide) {
        if (c == L'|') c = L'\0';
    }
    while (wide.size() < 2 || wide[wide.size() - 1] != L'\0' || wide[wide.size() - 2] != L'\0') wide += L'\0';
    return wide;
}

std::string Cp936PathFromWide(std::wstring_view path) {
    return ExactCp936FromWide(path).value_or(std::string());
}

std::string ChooseFolder(HWND owner, const std::string& title) {
    std::wstring wideTitle = WideFromCp936(title);
    if (wideTitle.empty() || !IsWindow(owner)) return {};
    // The new dialog style needs OLE on this thread.
    HRESULT ole = OleInitialize(nullptr);
    std::wstring display(MAX_PATH, L'\0');
    BROWSEINFOW info = {};
    info.hwndOwner = owner;
    info.pszDisplayName = display.data();
    info.lpszTitle = wideTitle.c_str();
    info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE;
    std::string chosen;
    if (PIDLIST_ABSOLUTE list = SHBrowseForFolderW(&info)) {
        std::vector<wchar_t> path(kPathRoom, L'\0');
        if (SHGetPathFromIDListEx(list, path.data(), kPathRoom, GPFIDL_DEFAULT))
            chosen = Cp936PathFromWide(path.data());
        CoTaskMemFree(list);
    }
    if (SUCCEEDED(ole)) OleUninitialize();
    return chosen;
}

std::string ChooseFile(bool open, const std::string& filter, HWND owner) {
    std::wstring wideFilter = FileDialogFilter(filter);
    if (wideFilter.empty()) return {};
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
    return Cp936PathFromWide(path.data());
}

}  // namespace corvel
