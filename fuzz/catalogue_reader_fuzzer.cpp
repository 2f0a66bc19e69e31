// Feeds arbitrary bytes to the catalogue reader and checks that what the
// writer makes of the result reads back to the same text.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "catalogue_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    corvel::Catalogue first;
    corvel::ParseCatalogueText(first, text);
    std::string written = corvel::FormatCatalogueText(first);

    corvel::Catalogue second;
    bool dropped = false;
    corvel::ParseCatalogueText(second, written, [&](std::size_t, corvel::DroppedLine) { dropped = true; });
    if (dropped || corvel::FormatCatalogueText(second) != written) std::abort();
    return 0;
}
