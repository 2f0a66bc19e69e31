// A large catalogue text of realistic lines, for the benchmarks.
#pragma once

#include <string>

// categories x itemsPerCategory items with Chinese names and comments,
// relative paths with switches and two-line registration codes.
std::string GenerateCatalogueText(int categories, int itemsPerCategory);
