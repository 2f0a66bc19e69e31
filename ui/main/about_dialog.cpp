#include "ui/main/about_dialog.h"

#include <vector>

namespace corvel::ui {

std::wstring ProgramVersionText() {
    std::wstring path(32768, L'\0');
    path.resize(GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size())));
    DWORD size = GetFileVersionInfoSizeW(path.c_str(), nullptr);
    if (path.empty() || size == 0) return std::wstring();
    std::vector<unsigned char> block(size);
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT fixedSize = 0;
    if (!GetFileVersionInfoW(path.c_str(), 0, size, block.data()) ||
        !VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &fixedSize) || !fixed)
        return std::wstring();
    return L"\u7248\u672c " + std::to_wstring(HIWORD(fixed->dwFileVersionMS)) + L"." +  // 版本
           std::to_wstring(LOWORD(fixed->dwFileVersionMS)) + L"." + std::to_wstring(HIWORD(fixed->dwFileVersionLS)) +
           L"." + std::to_wstring(LOWORD(fixed->dwFileVersionLS));
}

bool AboutDialog::OnInit() {
    Item(IDC_ABOUT_VERSION).SetText(ProgramVersionText());
    return true;
}

}  // namespace corvel::ui
