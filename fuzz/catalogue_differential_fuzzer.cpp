// Checks the catalogue reader against a plain reading of the same bytes,
// written here as directly as the file's rules say it: the same
// categories, fields and kept lines, and the same dropped lines with their
// numbers and reasons. The reader matches keys a word at a time, takes
// each piece in the pass that finds the line's end, and reads a large text
// behind the thread that writes it; none of that may change what it reads.
// One input in 64, chosen by its hash, is also read as a large text (see
// LargeText) written in uneven chunks: reading it costs as much as dozens
// of small ones.
#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "catalogue/catalogue_file.h"
#include "catalogue/filled_text_reader.h"

namespace {

using corvel::DroppedLine;
using corvel::kFieldCount;

// Views into the text read, or into what the catalogue keeps of it.
struct Item {
    std::array<std::string_view, kFieldCount> fields;  // as stored: Regcode keeps 0x03 0x03
    std::string_view sourceLine;                       // the line, when writing the fields gives it back
    bool operator==(const Item&) const = default;
};

struct Category {
    std::string_view name;
    std::vector<Item> items;
    bool operator==(const Category&) const = default;
};

struct Reading {
    std::vector<Category> categories;
    std::vector<std::pair<std::size_t, DroppedLine>> dropped;
    bool operator==(const Reading&) const = default;
};

constexpr std::array<std::string_view, kFieldCount> kKeys = {"Name",    "SrcPath",  "DstDir", "Patch",
                                                             "Regcode", "Settings", "Comment"};
constexpr int kRegcode = 4, kComment = 6;
// ReadFilledText reads a text this large behind its writer.
constexpr std::size_t kLargeText = 1 << 20;
constexpr std::uint32_t kLargeOneIn = 64;

// The input once, a line neither reader takes that makes the text large
// at little cost, then the input again and again for kTail bytes.
struct LargeText {
    std::string text;
    std::size_t paddingBegin = 0, paddingEnd = 0;
};
constexpr std::size_t kTail = 16 << 10;

LargeText MakeLargeText(std::string_view unit) {
    LargeText large;
    large.text = unit;
    large.text += "\r\n";
    large.paddingBegin = large.text.size();
    large.text.append(kLargeText, 'x');
    large.paddingEnd = large.text.size();
    large.text += "\r\n";
    while (large.text.size() < large.paddingEnd + kTail) large.text += unit;
    return large;
}

bool IsBlank(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// "\\" as two whole characters; a byte 0x81 to 0xFE starts a two-byte one.
bool HasDoubleBackslash(std::string_view name) {
    bool afterBackslash = false;
    for (std::size_t i = 0; i < name.size(); ++i) {
        auto c = static_cast<unsigned char>(name[i]);
        if (c >= 0x81 && c <= 0xFE && i + 1 < name.size()) {
            ++i;
            afterBackslash = false;
            continue;
        }
        if (c == '\\' && afterBackslash) return true;
        afterBackslash = c == '\\';
    }
    return false;
}

// The field whose key, in any letter case, and "=" begin piece; -1 for none.
int FieldOf(std::string_view piece) {
    for (std::size_t field = 0; field < kFieldCount; ++field) {
        std::string_view key = kKeys[field];
        if (piece.size() <= key.size() || piece[key.size()] != '=') continue;
        bool same = true;
        for (std::size_t i = 0; i < key.size(); ++i) same = same && Lower(piece[i]) == Lower(key[i]);
        if (same) return static_cast<int>(field);
    }
    return -1;
}

// What the writer makes of the fields, into line.
void WriteItemLine(std::string& line, const std::array<std::string_view, kFieldCount>& fields) {
    line = "<";
    for (std::size_t field = 0; field < kFieldCount; ++field) {
        if (fields[field].empty()) continue;
        line += kKeys[field];
        line += '=';
        line += fields[field];
        if (field != kComment) line += '\x02';
    }
    line += '>';
}

class PlainReader {
public:
    Reading Read(std::string_view text) {
        text = text.substr(0, text.find('\0'));
        if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
        std::size_t number = 0;
        while (!text.empty()) {
            std::size_t end = text.find("\r\n");
            ReadLine(++number, Trim(text.substr(0, end)));
            text = end == std::string_view::npos ? std::string_view() : text.substr(end + 2);
        }
        return std::move(reading_);
    }

private:
    void Drop(std::size_t number, DroppedLine reason) { reading_.dropped.push_back({number, reason}); }

    void ReadLine(std::size_t number, std::string_view line) {
        if (line.starts_with('<')) return ReadItem(number, line);
        if (line.starts_with('[')) ReadHeader(number, line);
    }

    void ReadHeader(std::size_t number, std::string_view line) {
        sawHeader_ = true;
        inCategory_ = false;
        if (line.size() < 2 || !line.ends_with(']')) return Drop(number, DroppedLine::BadCategoryHeader);
        std::string_view name = Trim(line.substr(1, line.size() - 2));
        if (name.empty() || HasDoubleBackslash(name)) return Drop(number, DroppedLine::BadCategoryHeader);
        // The catalogue's own limits.
        if (name.size() > corvel::kMaxCategoryNameBytes ||
            reading_.categories.size() > static_cast<std::size_t>(corvel::kMaxCategoriesBeforeAdd))
            return Drop(number, DroppedLine::CategoryRefused);
        reading_.categories.push_back({name, {}});
        inCategory_ = true;
    }

    void ReadItem(std::size_t number, std::string_view line) {
        if (line.size() < 2 || !line.ends_with('>')) return Drop(number, DroppedLine::MalformedItem);
        std::string_view inner = Trim(line.substr(1, line.size() - 2));
        if (inner.empty()) return Drop(number, DroppedLine::MalformedItem);

        Item item;
        for (std::size_t start = 0; start <= inner.size();) {
            std::size_t end = inner.find('\x02', start);
            if (end == std::string_view::npos) end = inner.size();
            std::string_view piece = inner.substr(start, end - start);
            start = end + 1;
            int field = FieldOf(piece);
            if (field < 0) continue;
            std::string_view value = piece.substr(kKeys[field].size() + 1);
            item.fields[field] = field == kRegcode ? value : Trim(value);  // the last one of a key wins
        }
        if (item.fields[0].empty() || item.fields[1].empty())
            return Drop(number, DroppedLine::ItemWithoutNameOrSrcPath);
        if (!inCategory_)
            return Drop(number, sawHeader_ ? DroppedLine::ItemBehindBadCategory : DroppedLine::ItemBeforeCategory);
        WriteItemLine(written_, item.fields);
        if (written_ == line) item.sourceLine = line;
        reading_.categories.back().items.push_back(std::move(item));
    }

    Reading reading_;
    std::string written_;
    bool sawHeader_ = false;
    bool inCategory_ = false;
};

Reading ReadingOf(const corvel::Catalogue& catalogue, std::vector<std::pair<std::size_t, DroppedLine>> dropped) {
    Reading reading;
    reading.dropped = std::move(dropped);
    const corvel::CatalogueNode* root = catalogue.Root();
    for (const corvel::CatalogueNode* category = root ? root->FirstChild() : nullptr; category;
         category = category->NextSibling()) {
        reading.categories.push_back({category->Name(), {}});
        for (const corvel::CatalogueNode* node = category->FirstChild(); node; node = node->NextSibling()) {
            Item item;
            for (std::size_t field = 0; field < kFieldCount; ++field)
                item.fields[field] = node->StoredField(static_cast<corvel::Field>(field));
            item.sourceLine = node->SourceLine();
            reading.categories.back().items.push_back(std::move(item));
        }
    }
    return reading;
}

// The reader's result for text, read whole, into catalogue.
Reading ReaderReading(corvel::Catalogue& catalogue, std::string_view text) {
    std::vector<std::pair<std::size_t, DroppedLine>> dropped;
    corvel::ParseCatalogueText(catalogue, text, [&](std::size_t line, DroppedLine reason) {
        dropped.push_back({line, reason});
    });
    return ReadingOf(catalogue, std::move(dropped));
}

// The same for a large text written in chunks of up to 4 KiB, their sizes
// drawn from seed, and the padding in one.
Reading ReaderReading(corvel::Catalogue& catalogue, const LargeText& large, std::uint32_t seed) {
    auto fill = [&large, seed](char* data, std::size_t size, const corvel::BackgroundFill::Progress& progress) mutable {
        for (std::size_t done = 0; done < size;) {
            seed = seed * 1103515245 + 12345;
            std::size_t end = done + 1 + (seed >> 8) % 4096;
            if (done >= large.paddingBegin && done < large.paddingEnd) end = large.paddingEnd;
            end = std::min(end, size);
            std::memcpy(data + done, large.text.data() + done, end - done);
            progress(done = end);
        }
        return true;
    };
    std::vector<std::pair<std::size_t, DroppedLine>> dropped;
    bool read = corvel::ReadFilledText(catalogue, corvel::TextBlock(large.text.size()), fill,
                                       [&](std::size_t line, DroppedLine reason) {
                                           dropped.push_back({line, reason});
                                       });
    if (!read) std::abort();
    return ReadingOf(catalogue, std::move(dropped));
}

// Where the two readings part, for the log of a failing input.
void Report(const Reading& reader, const Reading& plain, const char* how) {
    std::fprintf(stderr, "the reader of %s differs from the plain reading\n", how);
    std::size_t at = 0;
    while (at < reader.dropped.size() && at < plain.dropped.size() && reader.dropped[at] == plain.dropped[at]) ++at;
    if (at < reader.dropped.size() || at < plain.dropped.size())
        std::fprintf(stderr, "the dropped lines differ at the %zu-th\n", at + 1);
    at = 0;
    while (at < reader.categories.size() && at < plain.categories.size() &&
           reader.categories[at] == plain.categories[at])
        ++at;
    if (at < reader.categories.size() || at < plain.categories.size())
        std::fprintf(stderr, "the categories differ at the %zu-th\n", at + 1);
}

void Compare(const Reading& reader, const Reading& plain, const char* how) {
    if (reader == plain) return;
    Report(reader, plain, how);
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    {
        corvel::Catalogue catalogue;
        Compare(ReaderReading(catalogue, text), PlainReader().Read(text), "the whole text");
    }
    std::uint32_t hash = 2166136261u;  // FNV-1a
    for (unsigned char c : text) hash = (hash ^ c) * 16777619u;
    if (text.empty() || hash % kLargeOneIn != 0) return 0;
    LargeText large = MakeLargeText(text);
    corvel::Catalogue catalogue;
    Compare(ReaderReading(catalogue, large, hash), PlainReader().Read(large.text), "a large text");
    return 0;
}
