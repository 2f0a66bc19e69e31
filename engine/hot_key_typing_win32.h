// Ctrl+R: types the registration text's segments into the focused field of
// the foreground program and the fields after it, one segment per field.
// Windows only.
#pragma once

#include <windows.h>

#include <string>

namespace corvel {

// Does nothing when text is empty, when no window or one of the calling
// process (Corvel's own) is in front, when the foreground thread's input
// cannot be attached or its focused field does not answer. A field that
// stops answering gets no more segments. Afterwards the clipboard holds
// the whole text.
void TypeRegistrationText(const std::string& text);

}  // namespace corvel
