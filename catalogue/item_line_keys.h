// Which field's key begins a piece of an item line. Header only: the
// reader calls this for every piece of a file, and it must be inlined there.
#pragma once

#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "catalogue/catalogue_line_format.h"

namespace corvel {

namespace item_line_keys {

// Eight bytes of text as one word, in the machine's byte order.
constexpr std::uint64_t Word(std::array<char, 8> bytes) {
    return std::bit_cast<std::uint64_t>(bytes);
}

inline std::uint64_t LoadWord(const char* p) {
    std::uint64_t word;
    std::memcpy(&word, p, sizeof word);
    return word;
}

// A key padded to eight bytes, spelt as written and in lower case, with
// a mask of its bytes: one key fits a word, "Settings" exactly.
struct KeyWord {
    std::uint64_t exact, lower, mask;
};

constexpr KeyWord KeyWordOf(std::string_view key) {
    std::array<char, 8> exact{}, lower{}, mask{};
    for (std::size_t i = 0; i < key.size(); ++i) {
        exact[i] = key[i];
        lower[i] = static_cast<char>(key[i] | 0x20);
        mask[i] = '\xFF';
    }
    return {Word(exact), Word(lower), Word(mask)};
}

inline constexpr std::array<KeyWord, kFieldCount> kKeyWords = {
    KeyWordOf(kFieldKeys[0]), KeyWordOf(kFieldKeys[1]), KeyWordOf(kFieldKeys[2]), KeyWordOf(kFieldKeys[3]),
    KeyWordOf(kFieldKeys[4]), KeyWordOf(kFieldKeys[5]), KeyWordOf(kFieldKeys[6])};

inline constexpr std::uint64_t kCaseBits = Word({' ', ' ', ' ', ' ', ' ', ' ', ' ', ' '});

// Whether the key of field, in either letter case, and "=" begin piece;
// exact tells whether the key is spelt as the writer spells it. readable
// bytes from the piece's start may be read, at least the piece.
// The keys are letters only: a byte matches when it is that letter in
// either case, and no byte of a GBK character can; nor can "=", so the key
// found is the text before the piece's first "=".
[[gnu::always_inline]] inline bool BeginsWithKey(std::string_view piece, std::size_t readable, std::size_t field,
                                                 bool& exact) {
    std::string_view key = kFieldKeys[field];
    if (piece.size() <= key.size() || piece[key.size()] != '=') return false;
    if (readable >= sizeof(std::uint64_t)) {  // the whole key at once
        const KeyWord& known = kKeyWords[field];
        std::uint64_t word = LoadWord(piece.data()) & known.mask;
        if ((word | (kCaseBits & known.mask)) != known.lower) return false;
        exact = word == known.exact;
        return true;
    }
    unsigned differences = 0;
    for (std::size_t i = 0; i < key.size(); ++i) {
        if ((piece[i] | 0x20) != (key[i] | 0x20)) return false;
        differences |= static_cast<unsigned char>(piece[i] ^ key[i]);
    }
    exact = differences == 0;
    return true;
}

}  // namespace item_line_keys

// The field whose key begins piece (as BeginsWithKey), or -1. expected,
// the field behind the last one found, is tried first: the writer puts the
// keys in field order, and a guess that comes true spares a jump on the
// first letter that the processor often mispredicts. Otherwise the first
// letters pick the one candidate.
[[gnu::always_inline]] inline int FieldOfPiece(std::string_view piece, std::size_t readable, std::size_t expected,
                                               bool& exact) {
    if (expected < kFieldCount && item_line_keys::BeginsWithKey(piece, readable, expected, exact))
        return static_cast<int>(expected);
    if (piece.size() < 5) return -1;  // no key is shorter than "Name="
    Field candidate;
    switch (piece[0] | 0x20) {
        case 'n':
            candidate = Field::Name;
            break;
        case 's':
            candidate = (piece[1] | 0x20) == 'r' ? Field::SrcPath : Field::Settings;
            break;
        case 'd':
            candidate = Field::DstDir;
            break;
        case 'p':
            candidate = Field::Patch;
            break;
        case 'r':
            candidate = Field::Regcode;
            break;
        case 'c':
            candidate = Field::Comment;
            break;
        default:
            return -1;
    }
    auto field = static_cast<std::size_t>(candidate);
    return item_line_keys::BeginsWithKey(piece, readable, field, exact) ? static_cast<int>(field) : -1;
}

}  // namespace corvel
