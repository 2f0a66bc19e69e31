#include "catalogue/find_byte.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace corvel {
namespace {

// Every length around the 16-byte blocks, with the wanted byte at every
// place or nowhere, and searches that start inside the text.
TEST(FindByte, FindsTheFirstWantedByteOrTheEnd) {
    for (std::size_t size = 0; size <= 40; ++size) {
        for (std::size_t at = 0; at <= size; ++at) {
            std::string text(size, 'x');
            if (at < size) text[at] = '\x02';
            if (at + 3 < size) text[at + 3] = '\x02';
            for (std::size_t from = 0; from <= size; from += 7) {
                const char* begin = text.data() + from;
                const char* end = text.data() + size;
                EXPECT_EQ(FindByte(begin, end, '\x02'), std::find(begin, end, '\x02')) << size << " " << at;
            }
        }
    }
}

TEST(FindByte, FindEitherOrOneOfThreeStopsAtWhicheverComesFirst) {
    for (std::size_t size = 0; size <= 40; ++size) {
        for (std::size_t at = 0; at <= size; ++at) {
            std::string text(size, 'x');
            if (at < size) text[at] = '\0';
            if (size > 0) text[(at * 7) % size] = '\r';
            const char* begin = text.data();
            const char* end = begin + size;
            const char* expected = std::find_if(begin, end, [](char c) { return c == '\r' || c == '\0'; });
            EXPECT_EQ(FindEitherByte(begin, end, '\r', '\0'), expected) << size << " " << at;
            if (size > 0) text[(at * 3 + 5) % size] = '\x02';
            expected = std::find_if(begin, end, [](char c) { return c == '\r' || c == '\0' || c == '\x02'; });
            EXPECT_EQ(FindOneOfThreeBytes(begin, end, '\x02', '\r', '\0'), expected) << size << " " << at;
        }
    }
    // Bytes above 0x7F compare as bytes, not as signed numbers.
    const std::string high = std::string(20, 'a') + "\xFE\x81";
    EXPECT_EQ(FindEitherByte(high.data(), high.data() + high.size(), '\x81', '\xFE'), high.data() + 20);
    EXPECT_EQ(FindByte(high.data(), high.data() + high.size(), '\x81'), high.data() + 21);
    EXPECT_EQ(FindOneOfThreeBytes(high.data(), high.data() + high.size(), '\x02', '\x81', '\x03'), high.data() + 21);
}

}  // namespace
}  // namespace corvel
