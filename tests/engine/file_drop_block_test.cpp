// The file-drop block as the file manager reads it: header, then wide names.
#include "engine/file_drop_block.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

using corvel::FileDropBlock;

std::uint32_t Word32(const std::vector<std::uint8_t>& block, std::size_t at) {
    return block[at] | (block[at + 1] << 8) | (block[at + 2] << 16) | (static_cast<std::uint32_t>(block[at + 3]) << 24);
}

// The names after the header, split at their NULs, up to the final NUL.
std::vector<std::u16string> Names(const std::vector<std::uint8_t>& block) {
    std::vector<std::u16string> names(1);
    for (std::size_t at = 20; at + 1 < block.size(); at += 2) {
        char16_t unit = static_cast<char16_t>(block[at] | (block[at + 1] << 8));
        if (unit != 0)
            names.back() += unit;
        else if (!names.back().empty())
            names.emplace_back();
        else
            break;
    }
    names.pop_back();
    return names;
}

TEST(FileDropBlock, HeaderThenEachPathWideAndNulEnded) {
    std::vector<std::uint8_t> block = FileDropBlock({u"D:\\软件\\a.exe", u"D:\\b.reg", u"E:\\c d\\x.msi"});

    ASSERT_GE(block.size(), 20u);
    EXPECT_EQ(Word32(block, 0), 20u);  // offset of the list
    EXPECT_EQ(Word32(block, 4), 0u);   // point x
    EXPECT_EQ(Word32(block, 8), 0u);   // point y
    EXPECT_EQ(Word32(block, 12), 0u);  // non-client
    EXPECT_EQ(Word32(block, 16), 1u);  // wide names
    EXPECT_EQ(Names(block), (std::vector<std::u16string>{u"D:\\软件\\a.exe", u"D:\\b.reg", u"E:\\c d\\x.msi"}));

    // 11 + 8 + 12 characters, a NUL after each path and a final one, two bytes each.
    EXPECT_EQ(block.size(), 20u + 2 * (11 + 8 + 12 + 3 + 1));
    EXPECT_EQ(block[block.size() - 1], 0);
    EXPECT_EQ(block[block.size() - 2], 0);
    EXPECT_EQ(block[block.size() - 3], 0);
    EXPECT_EQ(block[block.size() - 4], 0);
    EXPECT_EQ(block[block.size() - 6], 'i');
}

TEST(FileDropBlock, EmptyPathsAreLeftOutAndNoPathGivesNoBlock) {
    EXPECT_TRUE(FileDropBlock({}).empty());
    EXPECT_TRUE(FileDropBlock({u"", u""}).empty());
    // An empty name inside would end the list at it.
    EXPECT_EQ(Names(FileDropBlock({u"C:\\a", u"", u"C:\\b"})), (std::vector<std::u16string>{u"C:\\a", u"C:\\b"}));
    EXPECT_EQ(FileDropBlock({u"C:\\a"}).size(), 20u + 2 * (4 + 1 + 1));
}

}  // namespace
