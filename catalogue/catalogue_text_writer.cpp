// Writing catalogue text: a header line for each category and an item line
// for each of its items, in one string reserved for the whole file.
#include "catalogue/catalogue_file.h"
#include "catalogue/catalogue_line_format.h"

namespace corvel {

namespace {

std::size_t ItemLineSize(const CatalogueNode* item) {
    if (!item->SourceLine().empty()) return item->SourceLine().size() + kCrLf.size();
    std::size_t size = 1 + 1 + kCrLf.size();  // "<" ">" CR LF
    for (std::size_t i = 0; i < kFieldCount; ++i) {
        std::size_t value = item->StoredField(static_cast<Field>(i)).size();
        if (value) size += kFieldKeys[i].size() + 1 + value + HasSeparator(i);
    }
    return size;
}

std::size_t HeaderSize(const CatalogueNode* category) {
    return 1 + category->Name().size() + 1 + kCrLf.size();  // "[" name "]" CR LF
}

// Appends to text reserved for the whole file, so it never grows.
void AppendItemLine(std::string& out, const CatalogueNode* item) {
    if (!item->SourceLine().empty()) {
        out += item->SourceLine();
        out += kCrLf;
        return;
    }
    out += '<';
    for (std::size_t i = 0; i < kFieldCount; ++i) {
        std::string_view value = item->StoredField(static_cast<Field>(i));
        if (value.empty()) continue;
        out += kFieldKeys[i];
        out += '=';
        out += value;
        if (HasSeparator(i)) out += kFieldSeparator;
    }
    out += '>';
    out += kCrLf;
}

void AppendHeader(std::string& out, const CatalogueNode* category) {
    out += '[';
    out += category->Name();
    out += ']';
    out += kCrLf;
}

template <typename Visit>
void ForEachCategory(const Catalogue& catalogue, const std::vector<const CatalogueNode*>* categories, Visit visit) {
    const CatalogueNode* root = catalogue.Root();
    if (categories) {
        for (const CatalogueNode* category : *categories) {
            if (category && root && category->Kind() == NodeKind::Category && category->Parent() == root)
                visit(category);
        }
    } else if (root) {
        for (const CatalogueNode* node = root->FirstChild(); node; node = node->NextSibling()) {
            if (node->Kind() == NodeKind::Category) visit(node);
        }
    }
}

template <typename Visit>
void ForEachItem(const CatalogueNode* category, Visit visit) {
    for (const CatalogueNode* node = category->FirstChild(); node; node = node->NextSibling()) {
        if (node->Kind() == NodeKind::Item) visit(node);
    }
}

}  // namespace

std::string FormatCatalogueText(const Catalogue& catalogue, const std::vector<const CatalogueNode*>* categories) {
    std::size_t size = 0;
    ForEachCategory(catalogue, categories, [&](const CatalogueNode* category) {
        size += HeaderSize(category);
        ForEachItem(category, [&](const CatalogueNode* item) { size += ItemLineSize(item); });
    });

    std::string text;
    text.reserve(size);
    ForEachCategory(catalogue, categories, [&](const CatalogueNode* category) {
        AppendHeader(text, category);
        ForEachItem(category, [&](const CatalogueNode* item) { AppendItemLine(text, item); });
    });
    return text;
}

}  // namespace corvel
