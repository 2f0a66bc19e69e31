// Reading catalogue text: its lines, category headers and item lines, into
// the catalogue, and the lines dropped on the way.
#include <algorithm>
#include <cstring>
#include <utility>

#include "catalogue/catalogue_file.h"
#include "catalogue/catalogue_line_format.h"
#include "catalogue/cp936.h"
#include "catalogue/filled_text_reader.h"
#include "catalogue/find_byte.h"
#include "catalogue/item_line_keys.h"

namespace corvel {

namespace {

// End of the line that starts at p: the next CR LF, the text's end, or a
// NUL, where the text ends. A lone CR or LF is part of the line.
const char* LineEnd(const char* p, const char* end) {
    for (;; ++p) {
        p = FindEitherByte(p, end, '\r', '\0');
        if (p == end || *p == '\0' || IsLineBreakAt(p, end)) return p;
    }
}

struct ItemLineFields {
    FieldViews fields;
    // Bit i set: field i's key was spelt as the writer spells it.
    unsigned exactKeys = 0;
};

// Keeps piece when it is a known "Key=value"; later keys win. readable
// bytes from the piece's start may be read, at least the piece. Always
// inlined: a call for each of the 700,000 pieces of a large file costs 5 %.
[[gnu::always_inline]] inline void TakePiece(ItemLineFields& item, std::string_view piece, std::size_t readable,
                                             std::size_t& expected) {
    bool exact = false;
    int field = FieldOfPiece(piece, readable, expected, exact);
    if (field < 0) return;
    expected = static_cast<std::size_t>(field) + 1;
    std::string_view value = piece.substr(kFieldKeys[field].size() + 1);
    // Regcode's blanks belong to the registration text.
    item.fields[field] = static_cast<Field>(field) == Field::Regcode ? value : TrimWhiteSpace(value);
    item.exactKeys = exact ? item.exactKeys | 1u << field : item.exactKeys & ~(1u << field);
}

// Whether writing the fields gives line back byte for byte: each stored
// value sits right behind its exactly spelt key, in field order, with
// nothing between them but the separators the writer puts.
bool WritesBackAs(std::string_view line, const ItemLineFields& item) {
    const char* expected = line.data() + 1;  // behind "<"
    for (std::size_t i = 0; i < kFieldCount; ++i) {
        std::string_view value = item.fields[i];
        if (value.empty()) continue;
        if (!(item.exactKeys & 1u << i) || value.data() != expected + kFieldKeys[i].size() + 1) return false;
        expected = value.data() + value.size();
        if (HasSeparator(i)) {
            if (*expected != kFieldSeparator) return false;
            ++expected;
        }
    }
    return expected == line.data() + line.size() - 1;  // at ">"
}

// Where the line at p really starts: behind its leading white space, which
// may hold a lone CR or LF but never the CR LF that ends the line.
const char* SkipLeadingWhiteSpace(const char* p, const char* end) {
    while (p < end && IsWhiteSpace(*p) && !IsLineBreakAt(p, end)) ++p;
    return p;
}

// End of the piece that starts at p: the next 0x02, or the line's end
// (as LineEnd). 0x02 is never a trail byte, so byte search is safe.
const char* PieceEnd(const char* p, const char* end) {
    for (;; ++p) {
        p = FindOneOfThreeBytes(p, end, kFieldSeparator, '\r', '\0');
        if (p == end || *p != '\r' || IsLineBreakAt(p, end)) return p;
    }
}

class Reader {
public:
    Reader(Catalogue& catalogue, const DroppedLineCallback& onDropped) : catalogue_(catalogue), onDropped_(onDropped) {}

    // Reads the line that starts at p and returns its end: CR LF, a NUL,
    // where the text ends, or end. Lines are trimmed of white space.
    const char* ReadLine(std::size_t lineNumber, const char* p, const char* end) {
        const char* start = SkipLeadingWhiteSpace(p, end);
        if (start < end && *start == '<') return ReadItem(lineNumber, start, end);
        const char* lineEnd = LineEnd(start, end);
        std::string_view line = TrimWhiteSpace(std::string_view(start, static_cast<std::size_t>(lineEnd - start)));
        if (!line.empty() && line.front() == '[') ReadHeader(lineNumber, line);
        return lineEnd;
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
        std::string_view name = TrimWhiteSpace(line.substr(1, line.size() - 2));
        if (name.empty() || HasDoubleBackslash(name)) return Drop(lineNumber, DroppedLine::BadCategoryHeader);
        category_ = catalogue_.AddCategory(name);
        if (!category_) Drop(lineNumber, DroppedLine::CategoryRefused);
    }

    // An item line is "<", its pieces split at 0x02, then ">". Each piece
    // is taken as it is found, in the one pass that finds the line's end;
    // the last one ends where the text inside "<" ">" ends.
    const char* ReadItem(std::size_t lineNumber, const char* start, const char* end) {
        ItemLineFields item;
        std::size_t expected = 0;
        const char* piece = SkipLeadingWhiteSpace(start + 1, end);
        for (;;) {
            const char* pieceEnd = PieceEnd(piece, end);
            if (pieceEnd == end || *pieceEnd != kFieldSeparator) {
                ReadItemEnd(lineNumber, std::string_view(start, static_cast<std::size_t>(pieceEnd - start)), piece, end,
                            item, expected);
                return pieceEnd;
            }
            TakePiece(item, std::string_view(piece, static_cast<std::size_t>(pieceEnd - piece)),
                      static_cast<std::size_t>(end - piece), expected);
            piece = pieceEnd + 1;
        }
    }

    // The rest of an item line once its end is known: lastPiece starts the
    // piece behind the last separator.
    void ReadItemEnd(std::size_t lineNumber, std::string_view line, const char* lastPiece, const char* end,
                     ItemLineFields& item, std::size_t& expected) {
        line = TrimWhiteSpace(line);
        // ">" (0x3E) is never a trail byte, so the last byte decides.
        if (line.size() < 2 || line.back() != '>') return Drop(lineNumber, DroppedLine::MalformedItem);
        // 0x02 is not white space, so every separator found lies inside.
        std::string_view inner = TrimWhiteSpace(line.substr(1, line.size() - 2));
        if (inner.empty()) return Drop(lineNumber, DroppedLine::MalformedItem);
        TakePiece(item, std::string_view(lastPiece, static_cast<std::size_t>(inner.data() + inner.size() - lastPiece)),
                  static_cast<std::size_t>(end - lastPiece), expected);

        if (item.fields[static_cast<std::size_t>(Field::Name)].empty() ||
            item.fields[static_cast<std::size_t>(Field::SrcPath)].empty())
            return Drop(lineNumber, DroppedLine::ItemWithoutNameOrSrcPath);
        if (!category_)
            return Drop(lineNumber, sawHeader_ ? DroppedLine::ItemBehindBadCategory : DroppedLine::ItemBeforeCategory);
        // A line that writing gives back is kept, so that saving copies it.
        catalogue_.AddStoredItem(category_, item.fields, WritesBackAs(line, item) ? line : std::string_view());
    }

    Catalogue& catalogue_;
    const DroppedLineCallback& onDropped_;
    // Null while items are skipped: before the first header or behind a bad
    // or refused one.
    CatalogueNode* category_ = nullptr;
    bool sawHeader_ = false;
};

// The UTF-8 byte-order mark an editor may put first. No line that reads as
// anything begins with it: it is a GBK character and a stray byte.
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

const char* BehindByteOrderMark(const char* text, const char* end) {
    std::size_t size = static_cast<std::size_t>(end - text);
    return std::string_view(text, size).starts_with(kByteOrderMark) ? text + kByteOrderMark.size() : text;
}

// Reads the lines in [p, end), moving p on; false once a NUL has ended the
// text.
bool ReadLines(Reader& reader, std::size_t& lineNumber, const char*& p, const char* end) {
    while (p < end) {
        const char* lineEnd = reader.ReadLine(++lineNumber, p, end);
        if (lineEnd == end) {
            p = end;
            return true;
        }
        if (*lineEnd == '\0') return false;
        p = lineEnd + kCrLf.size();
    }
    return true;
}

// The end of the last CR LF that begins in [from, end - 1), or nullptr.
const char* BehindLastLineBreak(const char* from, const char* end) {
    for (const char* q = end; q - from >= 2; --q) {
        if (IsLineBreakAt(q - 2, end)) return q;
    }
    return nullptr;
}

// Texts this large are written on a second thread and read behind it;
// for smaller ones starting a thread costs more than it saves.
constexpr std::size_t kLargeText = 1 << 20;

// Takes out the categories behind last (all when null): what a read that
// failed half way had added.
void RemoveCategoriesBehind(Catalogue& catalogue, CatalogueNode* last) {
    CatalogueNode* node = last ? last->NextSibling() : catalogue.Root()->FirstChild();
    while (node) {
        CatalogueNode* next = node->NextSibling();
        catalogue.DeleteCategory(node);
        node = next;
    }
}

}  // namespace

// Each time more of a large text is written, it is read up to the last
// whole line written, so that reading overlaps with the copy; no line is
// split between two such reads, so every line reads as in one pass.
bool ReadFilledText(Catalogue& catalogue, TextBlock block, const TextFill& fill, const DroppedLineCallback& onDropped) {
    char* const data = block.Data();
    const std::size_t size = block.Size();
    const CatalogueNode* root = std::as_const(catalogue).Root();  // not made by an empty text
    CatalogueNode* const lastBefore = root ? root->LastChild() : nullptr;
    const bool wasModified = catalogue.IsModified();
    catalogue.KeepText(std::move(block));

    Reader reader(catalogue, onDropped);
    std::size_t lineNumber = 0;
    const char* p = data;
    bool filled;
    if (size < kLargeText) {
        std::size_t written = 0;
        filled = fill(data, size, [&](std::size_t bytes) { written = bytes; });
        p = BehindByteOrderMark(p, data + written);
        if (filled) ReadLines(reader, lineNumber, p, data + written);
    } else {
        BackgroundFill writer([&](const BackgroundFill::Progress& progress) { return fill(data, size, progress); });
        bool reading = true;
        std::size_t written = 0;
        for (bool ended = false; !ended;) {
            const char* unsearched = data + (written ? written - 1 : 0);  // a CR may wait for its LF
            written = writer.WaitBeyond(written, ended);
            const char* stop = ended ? data + written : BehindLastLineBreak(unsearched, data + written);
            if (p == data && stop) p = BehindByteOrderMark(p, stop);
            if (reading && stop) reading = ReadLines(reader, lineNumber, p, stop);
        }
        filled = writer.Succeeded();
    }
    if (!filled) {
        RemoveCategoriesBehind(catalogue, lastBefore);
        catalogue.SetModified(wasModified);
        return false;
    }
    catalogue.SetModified(false);
    return true;
}

bool HasDoubleBackslash(std::string_view categoryName) {
    return FindChars(categoryName, "\\\\") != std::string_view::npos;
}

void ParseCatalogueText(Catalogue& catalogue, std::string_view text, const DroppedLineCallback& onDropped) {
    auto copy = [text](char* data, std::size_t size, const BackgroundFill::Progress& progress) {
        for (std::size_t done = 0; done < size;) {
            std::size_t chunk = std::min(kFillChunk, size - done);
            std::memcpy(data + done, text.data() + done, chunk);
            done += chunk;
            progress(done);
        }
        return true;
    };
    ReadFilledText(catalogue, TextBlock(text.size()), copy, onDropped);
}

}  // namespace corvel
