// Whole-file reading and safe replacement. Paths are native narrow paths:
// code page 936 on Windows, plain bytes elsewhere.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "text_block.h"

namespace corvel {

// The whole file, read into a block of its size, or nothing when it cannot
// be opened or read.
std::optional<TextBlock> ReadWholeFile(const std::string& path);

// The temporary file beside path that a replacement writes first.
inline std::string ReplacementFileOf(const std::string& path) {
    return path + ".corvel-tmp";
}

// Writes data to a temporary file in the same folder, flushes it to disk and
// then moves it over path. False, with path untouched, on any failure.
bool ReplaceFileContents(const std::string& path, std::string_view data);

// Removes the temporary file a replacement cut short by the end of its
// process may have left beside path.
void DiscardUnfinishedReplacement(const std::string& path);

}  // namespace corvel
