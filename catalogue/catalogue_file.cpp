#include "catalogue_file.h"

#include <array>
#include <cstring>

#include "cp936.h"
#include "file_io.h"

namespace corvel {

namespace {

// Keys in file order, indexed by Field.
constexpr std::array<std::string_view, kFieldCount> kFieldKeys = {"Name",    "SrcPath",  "DstDir", "Patch",
                                                                  "Regcode", "Settings", "Comment"};

constexpr std::string_view kCrLf = "\r\n";

// Position of the next CR LF at or after from, or npos. A lone CR or LF is
// part of the line.
std::size_t FindCrLf(std::string_view text, std::size_t from) {
    const char* const begin = text.data();
    const char* const end = begin + text.size();
    const char* p = begin + from;
    while (p < end) {
        const auto* cr = static_cast<const char*>(std::memchr(p, '\r', static_cast<std::size_t>(end - p)));
        if (!cr || cr + 1 >= end) return std::string_view::npos;
        if (cr[1] == '\n') return static_cast<std::size_t>(cr - begin);
        p = cr + 1;
    }
    return std::string_view::npos;
}

// Index of the field a key names, ignoring ASCII case, or -1. The length
// and first letter pick the one candidate, which keeps reading fast.
int FieldOfKey(std::string_view key) {
    std::size_t candidate;
    switch (key.size()) {
        case 4:
            candidate = static_cast<std::size_t>(Field::Name);
            break;
        case 5:
            candidate = static_cast<std::size_t>(Field::Patch);
            break;
        case 6:
            candidate = static_cast<std::size_t>(Field::DstDir);
            break;
        case 7:
            switch (key[0] | 0x20) {
                case 's':
                    candidate = static_cast<std::size_t>(Field::SrcPath);
                    break;
                case 'r':
                    candidate = static_cast<std::size_t>(Field::Regcode);
                    break;
                default:
                    candidate = static_cast<std::size_t>(Field::Comment);
            }
            break;
        case 8:
            candidate = static_cast<std::size_t>(Field::Settings);
            break;
        default:
            return -1;
    }
    // The keys are letters only: a byte matches when it is that letter in
    // either case, and no lead or trail byte of a GBK character can.
    std::string_view known = kFieldKeys[candidate];
    for (std::size_t i = 0; i < key.size(); ++i) {
        if ((key[i] | 0x20) != (known[i] | 0x20)) return -1;
    }
    return static_cast<int>(candidate);
}

// Splits at 0x02 and keeps each known "Key=value" piece; later keys win.
// 0x02 and "=" are never trail bytes, so byte search is safe. Keys are
// short, so they are scanned by hand; values are found with memchr.
FieldViews ParseItemFields(std::string_view inner) {
    FieldViews fields;
    const char* p = inner.data();
    const char* const end = p + inner.size();
    while (p < end) {
        const char* keyEnd = p;
        while (keyEnd < end && *keyEnd != '=' && *keyEnd != kFieldSeparator) ++keyEnd;
        if (keyEnd == end) break;
        if (*keyEnd == kFieldSeparator) {  // a piece without "="
            p = keyEnd + 1;
            continue;
        }
        const char* value = keyEnd + 1;
        const auto* separator = static_cast<const char*>(std::memchr(value, kFieldSeparator, end - value));
        const char* valueEnd = separator ? separator : end;
        int field = FieldOfKey(std::string_view(p, keyEnd - p));
        if (field >= 0) {
            std::string_view text(value, valueEnd - value);
            // Regcode's blanks belong to the registration text.
            fields[field] = static_cast<Field>(field) == Field::Regcode ? text : Trim(text, kWhiteSpace);
        }
        p = valueEnd + 1;
    }
    return fields;
}

class Reader {
public:
    Reader(Catalogue& catalogue, const DroppedLineCallback& onDropped) : catalogue_(catalogue), onDropped_(onDropped) {}

    void ReadLine(std::size_t lineNumber, std::string_view line) {
        line = Trim(line, kWhiteSpace);
        if (line.empty()) return;
        if (line.front() == '[')
            ReadHeader(lineNumber, line);
        else if (line.front() == '<')
            ReadItem(lineNumber, line);
    }

private:
    void Drop(std::size_t lineNumber, DroppedLine reason) {
        if (onDropped_) onDropped_(lineNumber, reason);
    }

    void ReadHeader(std::size_t lineNumber, std::string_view line) {
        sawHeader_ = true;
        category_ = nullptr;
        // The last byte decides, as the writer puts "]" right after the name:
        // a name ending in a stray lead byte must read back as written.
        if (line.size() < 2 || line.back() != ']') return Drop(lineNumber, DroppedLine::BadCategoryHeader);
        std::string_view name = Trim(line.substr(1, line.size() - 2), kWhiteSpace);
        if (name.empty() || HasDoubleBackslash(name)) return Drop(lineNumber, DroppedLine::BadCategoryHeader);
        category_ = catalogue_.AddCategory(name);
        if (!category_) Drop(lineNumber, DroppedLine::CategoryRefused);
    }

    void ReadItem(std::size_t lineNumber, std::string_view line) {
        // ">" (0x3E) is never a trail byte, so the last byte decides.
        if (line.size() < 2 || line.back() != '>') return Drop(lineNumber, DroppedLine::MalformedItem);
        std::string_view inner = Trim(line.substr(1, line.size() - 2), kWhiteSpace);
        if (inner.empty()) return Drop(lineNumber, DroppedLine::MalformedItem);

        FieldViews fields = ParseItemFields(inner);
        if (fields[static_cast<std::size_t>(Field::Name)].empty() ||
            fields[static_cast<std::size_t>(Field::SrcPath)].empty())
            return Drop(lineNumber, DroppedLine::ItemWithoutNameOrSrcPath);
        if (!category_)
            return Drop(lineNumber, sawHeader_ ? DroppedLine::ItemBehindBadCategory : DroppedLine::ItemBeforeCategory);
        catalogue_.AddStoredItem(category_, fields);
    }

    Catalogue& catalogue_;
    const DroppedLineCallback& onDropped_;
    // Null while items are skipped: before the first header or behind a bad
    // or refused one.
    CatalogueNode* category_ = nullptr;
    bool sawHeader_ = false;
};

std::size_t ItemLineSize(const CatalogueNode* item) {
    std::size_t size = 1 + 1 + kCrLf.size();  // "<" ">" CR LF
    for (std::size_t i = 0; i < kFieldCount; ++i) {
        std::size_t value = item->StoredField(static_cast<Field>(i)).size();
        if (value) size += kFieldKeys[i].size() + 1 + value + 1;
    }
    return size;
}

void AppendItemLine(std::string& out, const CatalogueNode* item) {
    out += '<';
    for (std::size_t i = 0; i < kFieldCount; ++i) {
        std::string_view value = item->StoredField(static_cast<Field>(i));
        if (value.empty()) continue;
        out += kFieldKeys[i];
        out += '=';
        out += value;
        // Comment is always last and carries no separator.
        if (static_cast<Field>(i) != Field::Comment) out += kFieldSeparator;
    }
    out += '>';
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

bool HasDoubleBackslash(std::string_view categoryName) {
    return FindChars(categoryName, "\\\\") != std::string_view::npos;
}

void ParseCatalogueText(Catalogue& catalogue, std::string_view text, const DroppedLineCallback& onDropped) {
    if (const void* nul = std::memchr(text.data(), '\0', text.size()))
        text = text.substr(0, static_cast<std::size_t>(static_cast<const char*>(nul) - text.data()));

    Reader reader(catalogue, onDropped);
    std::size_t lineNumber = 0;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = FindCrLf(text, start);
        if (end == std::string_view::npos) end = text.size();
        reader.ReadLine(++lineNumber, text.substr(start, end - start));
        start = end + kCrLf.size();
    }
    catalogue.SetModified(false);
}

std::string FormatCatalogueText(const Catalogue& catalogue, const std::vector<const CatalogueNode*>* categories) {
    std::size_t size = 0;
    ForEachCategory(catalogue, categories, [&](const CatalogueNode* category) {
        size += 1 + category->Name().size() + 1 + kCrLf.size();
        ForEachItem(category, [&](const CatalogueNode* item) { size += ItemLineSize(item); });
    });

    std::string out;
    out.reserve(size);
    ForEachCategory(catalogue, categories, [&](const CatalogueNode* category) {
        out += '[';
        out += category->Name();
        out += ']';
        out += kCrLf;
        ForEachItem(category, [&](const CatalogueNode* item) { AppendItemLine(out, item); });
    });
    return out;
}

bool LoadCatalogue(Catalogue& catalogue, const std::string& path, const DroppedLineCallback& onDropped) {
    if (path.empty()) return false;
    DiscardUnfinishedReplacement(path);
    std::optional<std::string> text = ReadWholeFile(path);
    if (!text || text->empty()) return false;
    ParseCatalogueText(catalogue, *text, onDropped);
    return true;
}

bool SaveCatalogue(const Catalogue& catalogue, const std::string& path,
                   const std::vector<const CatalogueNode*>* categories) {
    if (path.empty()) return false;
    return ReplaceFileContents(path, FormatCatalogueText(catalogue, categories));
}

std::string CatalogueFilePath(std::string_view programFolder, std::string_view programFileName) {
    // Tolerate a name that still carries a folder; "\" may be a trail byte.
    std::size_t slash = FindLastChar(programFileName, '\\');
    std::size_t forward = programFileName.rfind('/');
    if (forward != std::string_view::npos && (slash == std::string_view::npos || forward > slash)) slash = forward;
    if (slash != std::string_view::npos) programFileName.remove_prefix(slash + 1);

    std::string_view baseName = programFileName.substr(0, programFileName.rfind('.'));
    std::string path;
    path.reserve(programFolder.size() + baseName.size() + 4);
    path.append(programFolder);
    path.append(baseName);
    path.append(".cvx");
    return path;
}

}  // namespace corvel
