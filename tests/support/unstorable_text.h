// Texts that code page 936 cannot hold, and what the user is told when one
// is typed or chosen, for the Windows tests of every dialog that refuses them.
#pragma once

#include <string>

namespace corvel::testing {

// A Chinese text with an emoji, a Latin one with an emoji (é itself is in
// the code page), and a Korean syllable.
inline constexpr const wchar_t* kUnstorableTexts[] = {L"办公\xD83D\xDE00", L"Café\xD83D\xDE00", L"\xD55C"};

// The message for such a text in the field labelled field.
inline std::wstring UnstorableMessage(const std::wstring& field) {
    return L"“" + field + L"”中有 GBK（代码页 936）无法保存的字符，请删去或换用其他字符。";
}

}  // namespace corvel::testing
