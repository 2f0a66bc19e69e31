#include "catalogue/filled_text_reader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace corvel {
namespace {

using namespace std::string_literals;

struct Dropped {
    std::size_t line;
    DroppedLine reason;
    bool operator==(const Dropped&) const = default;
};

void PrintTo(const Dropped& dropped, std::ostream* os) {
    *os << "{line " << dropped.line << ", reason " << static_cast<int>(dropped.reason) << "}";
}

// A text of over a megabyte (read behind its writer), with what reading it
// must give: the lines kept, as the writer writes them, and those dropped.
struct LargeText {
    std::string text;
    std::string kept;
    std::vector<Dropped> dropped;
    std::size_t lines = 0;

    void Keep(const std::string& line) {
        text += line;
        kept += line;
        ++lines;
    }
    void Drop(const std::string& line, DroppedLine reason) {
        text += line;
        dropped.push_back({++lines, reason});
    }
};

LargeText MakeLargeText() {
    LargeText large;
    for (int category = 0; large.text.size() < (1u << 20) + 300000; ++category) {
        large.Keep("[Category " + std::to_string(category) + "]\r\n");
        for (int i = 0; i < 300; ++i) {
            std::string name = "item" + std::to_string(i) + std::string(i % 13, 'n');
            switch (i % 50) {
                case 7:  // a lone CR and a lone LF inside a field
                    large.Keep("<Name=" + name + "\x02SrcPath=a.exe\x02" + "Comment=a\rb\nc>\r\n");
                    break;
                case 19:
                    large.Drop("<Name=" + name + "\x02SrcPath=a.exe\r\n", DroppedLine::MalformedItem);
                    break;
                case 31:
                    large.Drop("<Name=" + name + ">\r\n", DroppedLine::ItemWithoutNameOrSrcPath);
                    break;
                case 43:
                    large.text += "\r\n";  // a blank line
                    ++large.lines;
                    break;
                default:
                    large.Keep("<Name=" + name + "\x02SrcPath=Soft\\" + name + ".exe /S\x02>\r\n");
            }
        }
        if (category == 2)
            large.Keep(
                "<Name=long\x02SrcPath=a.exe\x02"
                "Comment="s +
                std::string(300000, 'c') + ">\r\n");
    }
    return large;
}

// Writes the text in chunks whose ends come from next(done).
template <typename NextEnd>
TextFill FillFrom(const std::string& text, NextEnd next) {
    return [&text, next](char* data, std::size_t size, const BackgroundFill::Progress& progress) mutable {
        for (std::size_t done = 0; done < size;) {
            std::size_t end = std::min(size, std::max(done + 1, next(done)));
            std::memcpy(data + done, text.data() + done, end - done);
            done = end;
            progress(done);
        }
        return true;
    };
}

std::vector<Dropped> Read(Catalogue& catalogue, const std::string& text, const TextFill& fill, bool* result = nullptr) {
    std::vector<Dropped> dropped;
    TextBlock block(text.size());
    bool read = ReadFilledText(catalogue, std::move(block), fill, [&](std::size_t line, DroppedLine reason) {
        dropped.push_back({line, reason});
    });
    if (result) *result = read;
    return dropped;
}

// However the writer's chunks fall (a CR LF torn apart, a line across many
// chunks, chunks of one byte), the text reads as in one pass.
TEST(FilledTextReader, ALargeTextReadsTheSameHoweverItLands) {
    const LargeText large = MakeLargeText();
    const std::string& text = large.text;

    std::vector<std::size_t> behindEachCr;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (text[i] == '\r') behindEachCr.push_back(i + 1);

    struct Filling {
        const char* name;
        TextFill fill;
    };
    unsigned seed = 12345;
    std::vector<Filling> fillings;
    fillings.push_back({"all at once", FillFrom(text, [&](std::size_t) { return text.size(); })});
    fillings.push_back({"uneven chunks", FillFrom(text, [seed](std::size_t done) mutable {
                            seed = seed * 1103515245 + 12345;
                            return done + 1 + (seed >> 8) % 5000;
                        })});
    fillings.push_back({"between each CR and what follows", FillFrom(text, [&](std::size_t done) {
                            auto next = std::upper_bound(behindEachCr.begin(), behindEachCr.end(), done);
                            return next == behindEachCr.end() ? text.size() : *next;
                        })});
    fillings.push_back({"a byte at a time near the long line", FillFrom(text, [&](std::size_t done) {
                            std::size_t longLine = text.find("Comment=ccc");
                            return done + 200 > longLine && done < longLine + 300200 ? done + 1 : done + 65536;
                        })});
    for (const Filling& filling : fillings) {
        SCOPED_TRACE(filling.name);
        Catalogue catalogue;
        EXPECT_EQ(Read(catalogue, text, filling.fill), large.dropped);
        EXPECT_TRUE(FormatCatalogueText(catalogue) == large.kept);  // not printed: megabytes
        EXPECT_FALSE(catalogue.IsModified());
    }
}

TEST(FilledTextReader, ANulEndsALargeTextWhereverItLands) {
    const LargeText large = MakeLargeText();
    for (std::size_t at : {std::size_t{700000}, large.text.size() - 10}) {
        std::string text = large.text;
        const std::size_t lineStart = text.rfind("\r\n", at) + 2;
        text[lineStart] = '\0';
        // What lies before that line, read on its own.
        Catalogue before;
        ParseCatalogueText(before, text.substr(0, lineStart));
        Catalogue cut;
        Read(cut, text, FillFrom(text, [](std::size_t done) { return done + 4096; }));
        EXPECT_TRUE(FormatCatalogueText(cut) == FormatCatalogueText(before));
        EXPECT_GT(cut.Count(cut.Root(), NodeKind::Item, true), 1000);
    }
}

// A writer that fails half way leaves the catalogue as it was; one that
// writes less than the block (a file that shrank) is read as far as it got.
TEST(FilledTextReader, WhatAFailedWriterLeaves) {
    const LargeText large = MakeLargeText();
    const std::string& text = large.text;
    for (std::size_t failAt : {std::size_t{0}, std::size_t{600000}, text.size() - 1}) {
        SCOPED_TRACE(failAt);
        Catalogue catalogue;
        catalogue.AddCategory("Old");
        ItemFields item;
        item.Name = "a";
        item.SrcPath = "a.exe";
        catalogue.AddItem(catalogue.Root()->FirstChild(), item);
        ASSERT_TRUE(catalogue.IsModified());
        auto failing = [&text, failAt](char* data, std::size_t, const BackgroundFill::Progress& progress) {
            for (std::size_t done = 0; done < failAt;) {
                std::size_t end = std::min(failAt, done + 65536);
                std::memcpy(data + done, text.data() + done, end - done);
                progress(done = end);
            }
            return false;
        };
        bool read = true;
        Read(catalogue, text, failing, &read);
        EXPECT_FALSE(read);
        EXPECT_EQ(catalogue.Count(catalogue.Root(), NodeKind::Category, false), 1);
        EXPECT_EQ(catalogue.Root()->FirstChild()->Name(), "Old");
        EXPECT_EQ(catalogue.Count(catalogue.Root(), NodeKind::Item, true), 1);
        EXPECT_TRUE(catalogue.IsModified());
    }

    const std::size_t shrunk = text.rfind("[Category 3]");
    auto shrinking = [&text, shrunk](char* data, std::size_t, const BackgroundFill::Progress& progress) {
        std::memcpy(data, text.data(), shrunk);
        progress(shrunk);
        return true;
    };
    Catalogue catalogue;
    bool read = false;
    Read(catalogue, text, shrinking, &read);
    EXPECT_TRUE(read);
    Catalogue before;
    ParseCatalogueText(before, text.substr(0, shrunk));
    EXPECT_TRUE(FormatCatalogueText(catalogue) == FormatCatalogueText(before));
    EXPECT_EQ(catalogue.Count(catalogue.Root(), NodeKind::Category, false), 3);
}

}  // namespace
}  // namespace corvel
