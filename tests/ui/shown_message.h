// Expectations on a message box that the seam recorded, reported at the
// line of the test that makes them.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <source_location>
#include <string>

#include "ui/window/message_box.h"

namespace corvel::ui {

// Its text, caption and flags.
inline void ExpectMessage(const MessageBoxRequest& shown, const std::wstring& text, const std::wstring& caption,
                          UINT flags, std::source_location where = std::source_location::current()) {
    ::testing::ScopedTrace trace(where.file_name(), static_cast<int>(where.line()), "the message box");
    EXPECT_EQ(shown.text, text);
    EXPECT_EQ(shown.caption, caption);
    EXPECT_EQ(shown.flags, flags);
}

// Its text, caption and icon, whatever its buttons.
inline void ExpectMessageIcon(const MessageBoxRequest& shown, const std::wstring& text, const std::wstring& caption,
                              UINT icon, std::source_location where = std::source_location::current()) {
    ::testing::ScopedTrace trace(where.file_name(), static_cast<int>(where.line()), "the message box");
    EXPECT_EQ(shown.text, text);
    EXPECT_EQ(shown.caption, caption);
    EXPECT_EQ(shown.flags & MB_ICONMASK, icon);
}

}  // namespace corvel::ui
