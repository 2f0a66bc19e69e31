#include "engine/registration_text.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

namespace corvel {
namespace {

using Segments = std::vector<std::string>;

TEST(SplitRegistrationText, SeparatorsMakeSegments) {
    EXPECT_EQ(SplitRegistrationText("user||company||1234-5678"), (Segments{"user", "company", "1234-5678"}));
    EXPECT_EQ(SplitRegistrationText("a||||b"), (Segments{"a", "", "b"}));
    EXPECT_EQ(SplitRegistrationText("||a"), (Segments{"", "a"}));
    EXPECT_EQ(SplitRegistrationText("a||"), (Segments{"a"}));
    EXPECT_EQ(SplitRegistrationText("a||||"), (Segments{"a", ""}));
    EXPECT_EQ(SplitRegistrationText("||"), (Segments{""}));
    EXPECT_EQ(SplitRegistrationText(""), Segments{});
}

TEST(SplitRegistrationText, TextWithoutSeparatorIsOneSegment) {
    EXPECT_EQ(SplitRegistrationText("AB12\r\nCD34"), (Segments{"AB12\r\nCD34"}));
    // A single bar and an odd third bar belong to the segments.
    EXPECT_EQ(SplitRegistrationText("a|b"), (Segments{"a|b"}));
    EXPECT_EQ(SplitRegistrationText("a|||b"), (Segments{"a", "|b"}));
}

TEST(SplitRegistrationText, TrailByteBarIsNoSeparator) {
    // 0x81 0x7C is one GBK character; its trail byte is "|".
    EXPECT_EQ(SplitRegistrationText("\x81\x7C|b"), (Segments{"\x81\x7C|b"}));
    EXPECT_EQ(SplitRegistrationText("\x81\x7C||b"), (Segments{"\x81\x7C", "b"}));
    EXPECT_EQ(SplitRegistrationText("\xD5\xC5\xC8\xFD||\x81\x7C"), (Segments{"\xD5\xC5\xC8\xFD", "\x81\x7C"}));
}

TEST(RegistrationText, ReaderNeverSeesAHalfWrittenText) {
    // Long enough that an unguarded copy tears; different lengths so a torn
    // value cannot pass for either.
    const std::string first(4000, 'a');
    const std::string second(6000, 'b');
    RegistrationText current;
    current.Set(first);

    std::atomic<bool> done{false};
    std::thread writer([&] {
        for (int i = 0; i < 1000; ++i) current.Set(i % 2 ? first : second);
        done = true;
    });
    int torn = 0;
    int reads = 0;
    while (!done || reads == 0) {
        std::string seen = current.Get();
        if (seen != first && seen != second) ++torn;
        ++reads;
    }
    writer.join();
    EXPECT_EQ(torn, 0) << "of " << reads;
}

}  // namespace
}  // namespace corvel
