// Feeds arbitrary bytes to the catalogue reader and checks that what the
// writer makes of the result reads back to the same text, and that lines
// written back as read equal what writing their fields afresh gives.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "catalogue/catalogue_file.h"

namespace {

// A copy of catalogue built through the model's own operations, so that
// nothing in it is tied to the text it was read from.
void CopyInto(corvel::Catalogue& copy, corvel::Catalogue& catalogue) {
    catalogue.Enumerate(
        catalogue.Root(), corvel::NodeKind::Category, [&](corvel::NodeKind, corvel::CatalogueNode* category) {
            corvel::CatalogueNode* target = copy.AddCategory(category->Name());
            catalogue.Enumerate(category, corvel::NodeKind::Item, [&](corvel::NodeKind, corvel::CatalogueNode* item) {
                corvel::ItemFields fields;
                if (!target || !catalogue.GetItemFields(item, fields) || !copy.AddItem(target, fields)) std::abort();
            });
        });
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    corvel::Catalogue first;
    corvel::ParseCatalogueText(first, text);
    std::string written = corvel::FormatCatalogueText(first);

    corvel::Catalogue second;
    bool dropped = false;
    corvel::ParseCatalogueText(second, written, [&](std::size_t, corvel::DroppedLine) { dropped = true; });
    if (dropped || corvel::FormatCatalogueText(second) != written) std::abort();

    corvel::Catalogue copy;
    CopyInto(copy, first);
    if (corvel::FormatCatalogueText(copy) != written) std::abort();
    return 0;
}
