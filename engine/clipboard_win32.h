// Text on the clipboard, as code page 936 bytes (CF_TEXT) and as the same
// text in UTF-16 (CF_UNICODETEXT), so that a program that reads Unicode gets
// the Chinese right on a system whose code page is not 936; and files for
// the file manager. Windows only.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "engine/file_drop_block.h"

namespace corvel {

// Opens the clipboard without an owner window and empties it; an empty text
// leaves it empty. False when the clipboard cannot be opened or emptied, or
// memory runs out.
bool PutTextOnClipboard(std::string_view text);

// Files (full paths in code page 936) for a paste in the file manager: the
// file-drop list and the "Preferred DropEffect" value. Each name is the wide
// text that the file functions make of the path, so the list names the files
// their existence checks found. False when paths holds no path or any
// clipboard step fails.
bool PutFilesOnClipboard(const std::vector<std::string>& paths, DropEffect effect);

}  // namespace corvel
