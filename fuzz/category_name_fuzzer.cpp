// Checks arbitrary category names, and that every accepted name comes back
// from a saved catalogue as the same category.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "catalogue/catalogue_file.h"
#include "catalogue/cp936.h"
#include "ui/category_dialog/category_name_check.h"

static void Check(bool condition) {
    if (!condition) std::abort();
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // What the single-line name field can hold: its text ends at a zero
    // byte, and pasted text is taken only up to its first line break.
    std::string_view typed(reinterpret_cast<const char*>(data), size);
    typed = typed.substr(0, typed.find_first_of(std::string_view("\0\r\n", 3)));
    corvel::CategoryNameCheck check = corvel::CheckCategoryName(typed);
    Check(typed.ends_with(check.name));
    if (!check.Accepted()) return 0;
    Check(!check.name.empty() && check.name.size() <= corvel::kMaxCategoryNameBytes);

    corvel::Catalogue written;
    Check(written.AddCategory(check.name) != nullptr);
    corvel::Catalogue read;
    bool dropped = false;
    corvel::ParseCatalogueText(read, corvel::FormatCatalogueText(written),
                               [&](std::size_t, corvel::DroppedLine) { dropped = true; });
    Check(!dropped);
    const corvel::CatalogueNode* category = read.Root()->FirstChild();
    Check(category && !category->NextSibling());
    // The reader trims white space at both ends of a header's name.
    Check(category->Name() == corvel::Trim(check.name, corvel::kWhiteSpace));
    return 0;
}
