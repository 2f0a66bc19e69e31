// The common file and folder choosers. Texts are code page 936. Windows
// builds only.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace corvel {

// The shell's folder browser, file-system folders only. The chosen path, or
// empty on cancel, when title is empty or owner is not a window.
std::string ChooseFolder(HWND owner, const std::string& title);

// The common open or save dialog with filter ("text|pattern||"), no default
// extension and no initial name, overwrite confirmed. The chosen full path,
// or empty on cancel or when filter is empty.
std::string ChooseFile(bool open, const std::string& filter, HWND owner = nullptr);

// "text|pattern||" as the dialog wants it: every "|" a NUL, ending in two
// NULs. Empty for an empty filter.
std::wstring FileDialogFilter(std::string_view filter);

// A chosen path in code page 936, or empty when it holds a character code
// page 936 cannot hold (a "?" in its place would name another file).
std::string Cp936PathFromWide(std::wstring_view path);

}  // namespace corvel
