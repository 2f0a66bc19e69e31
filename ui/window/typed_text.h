// Typed or chosen text on its way into the program, where every text is
// code page 936: a character the code page lacks is refused and said, never
// stored as "?".
#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace corvel::ui {

// The label that names control: the static text, group box or radio
// button just before it in the dialog, up to its colon, without a mnemonic
// "&" and a leading "*" (a field that must be filled in); empty when none.
std::wstring FieldLabelOf(HWND control);

// Tells the user, with a stop icon, that the text of the field named
// fieldName holds a character that cannot be stored.
void TellUnstorableText(HWND owner, const std::wstring& fieldName, const std::wstring& caption);

// The text of control in code page 936, or nothing when it cannot be held:
// then the user is told in caption, naming the field by its label, and the
// focus goes to the field, whose text stays as typed.
std::optional<std::string> TypedCp936Text(HWND control, const std::wstring& caption);

// Puts a path the user chose into control when code page 936 can hold it.
// Otherwise the user is told as for a typed text, the field keeps its text,
// and the answer is false.
bool PutChosenText(HWND control, const std::wstring& chosen, const std::wstring& caption);

}  // namespace corvel::ui
