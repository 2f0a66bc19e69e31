// The bytes of the shell's file-drop clipboard block (CF_HDROP). Portable.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace corvel {

// What a paste in the file manager does with the dropped files.
enum class DropEffect : std::uint32_t { Copy = 1, Move = 2 };

// A 20-byte header (list offset 20, point 0/0, non-client flag 0, wide
// flag 1), then every non-empty path as UTF-16LE ending in a NUL, and one
// more NUL. The names are wide because the file manager reads single-byte
// names in the system's code page, which need not be 936. Empty when no path
// is left.
std::vector<std::uint8_t> FileDropBlock(const std::vector<std::u16string>& paths);

}  // namespace corvel
