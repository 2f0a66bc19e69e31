// What the dialog manager and the menus make of an "&" in a control's or an
// entry's text. Portable.
#pragma once

#include <string>
#include <string_view>

namespace corvel::ui {

// The character that follows the one lone "&" of text, upper-cased when it
// is an ASCII letter; 0 when text has none ("&&" is a plain "&").
wchar_t MnemonicOf(std::wstring_view text);

// The name a label gives its field, as a message quotes it: the text up to
// its colon, without its mnemonic (a marker "(&N)" as a whole, a lone "&"
// alone), a leading "*" (a field that must be filled in) and outer blanks.
std::wstring FieldNameOfLabel(std::wstring_view text);

// A name (a tool's, a category's) as a menu must be given it to show it as
// written: each "&" doubled, since a lone one would mark a mnemonic.
std::wstring MenuTextOf(std::wstring_view name);

}  // namespace corvel::ui
