// Text on the clipboard, as code page 936 bytes (CF_TEXT) and as the same
// text in UTF-16 (CF_UNICODETEXT), so that a program that reads Unicode gets
// the Chinese right on a system whose code page is not 936. Windows only.
#pragma once

#include <string_view>

namespace corvel {

// Opens the clipboard without an owner window and empties it; an empty text
// leaves it empty. False when the clipboard cannot be opened or emptied, or
// memory runs out.
bool PutTextOnClipboard(std::string_view text);

}  // namespace corvel
