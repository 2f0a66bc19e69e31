// Reading catalogue text while it is still being written into the block
// that keeps it: the file's bytes as they come from the disk, or a copy of
// a caller's text. Used by the catalogue file's load and parse.
#pragma once

#include <cstddef>
#include <functional>

#include "catalogue/background_fill.h"
#include "catalogue/catalogue_file.h"
#include "catalogue/text_block.h"

namespace corvel {

// Bytes a fill copies or reads in one go; the reader of a large text goes on
// after each.
inline constexpr std::size_t kFillChunk = 256 << 10;

// Writes a text into data (size bytes) in order, calling progress after each
// chunk with the bytes written so far; false when it could not write them.
using TextFill = std::function<bool(char* data, std::size_t size, const BackgroundFill::Progress& progress)>;

// Reads the text that fill writes into block, which the catalogue keeps so
// that what is read can point into it; only the bytes written are read. A
// large text is read on this thread behind its writer on another. False,
// with the catalogue as it was, when fill failed.
bool ReadFilledText(Catalogue& catalogue, TextBlock block, const TextFill& fill, const DroppedLineCallback& onDropped);

}  // namespace corvel
