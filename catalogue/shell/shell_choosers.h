// The common file and folder choosers. Texts are wide: a chosen path may hold
// any character, and the caller decides whether code page 936 must hold it.
// Windows builds only.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <string_view>

namespace corvel {

// The shell's folder browser, file-system folders only. The chosen path, or
// empty on cancel, when title is empty or owner is not a window.
std::wstring ChooseFolder(HWND owner, const std::wstring& title);

// The common open or save dialog with filter ("text|pattern||"), no default
// extension and no initial name, overwrite confirmed. The chosen full path,
// or empty on cancel or when filter is empty.
std::wstring ChooseFile(bool open, const std::wstring& filter, HWND owner = nullptr);

// "text|pattern||" as the dialog wants it: every "|" a NUL, ending in two
// NULs. Empty for an empty filter.
std::wstring FileDialogFilter(std::wstring_view filter);

// While set, both choosers answer what hook returns (empty: cancelled)
// instead of showing a dialog: the seam through which a test chooses.
using ChooserHook = std::function<std::wstring()>;
void SetChooserHookForTesting(ChooserHook hook);

// A chosen path in code page 936, or empty when it holds a character code
// page 936 cannot hold (a "?" in its place would name another file).
std::string Cp936PathFromWide(std::wstring_view path);

}  // namespace corvel
