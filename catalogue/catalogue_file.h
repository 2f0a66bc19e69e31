// The catalogue file (.cvx): CR LF lines of "[category]" headers and
// "<Key=value 0x02 ...>" item lines, code page 936 bytes.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "catalogue/catalogue_model.h"

namespace corvel {

enum class DroppedLine {
    BadCategoryHeader,
    CategoryRefused,
    ItemBeforeCategory,
    ItemBehindBadCategory,
    MalformedItem,
    ItemWithoutNameOrSrcPath,
};

// Called once for each line the reader drops; lines count from 1.
using DroppedLineCallback = std::function<void(std::size_t line, DroppedLine reason)>;

// True when a category header holding this name is dropped on reading, with
// every item behind it: "\\" as two whole characters (a trail byte 0x5C
// does not count).
bool HasDoubleBackslash(std::string_view categoryName);

// Reads catalogue text (up to its first NUL, after a UTF-8 byte-order mark
// an editor may have put first) into catalogue, behind what is already
// there, and clears the modified flag. The catalogue keeps a copy
// of text, which the names and fields read point into.
void ParseCatalogueText(Catalogue& catalogue, std::string_view text, const DroppedLineCallback& onDropped = {});

// Whole text of the file for the given categories (all when null).
std::string FormatCatalogueText(const Catalogue& catalogue,
                                const std::vector<const CatalogueNode*>* categories = nullptr);

// False when the path is empty or the file is missing, empty or unreadable;
// the catalogue is then as it was, though lines dropped before a read
// failed half way have been reported. The catalogue keeps the bytes read
// as the store of the names and fields. When savesAsRead is given, it
// tells whether saving what was read would give the file's bytes again
// (nothing dropped, trimmed or respelt); the catalogue must start empty.
// First a save cut short by the end of its process is dealt with: its
// temporary file goes when the catalogue exists, and when the catalogue is
// missing a complete temporary file, the only copy left, takes its place.
bool LoadCatalogue(Catalogue& catalogue, const std::string& path, const DroppedLineCallback& onDropped = {},
                   bool* savesAsRead = nullptr);

// Writes the text to a temporary file beside path and replaces path only
// when every byte was written; on failure the old file is untouched.
bool SaveCatalogue(const Catalogue& catalogue, const std::string& path,
                   const std::vector<const CatalogueNode*>* categories = nullptr);

// Program folder (ending in "\") + base name of the program file + ".cvx".
std::string CatalogueFilePath(std::string_view programFolder, std::string_view programFileName);

}  // namespace corvel
