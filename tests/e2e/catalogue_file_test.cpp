// The catalogue file as the running program reads it and leaves it.
#include "e2e_test_support.h"

namespace corvel::e2e {
namespace {

using CatalogueFileTest = E2eTest;

TEST_F(CatalogueFileTest, MissingFileGivesEmptyViewAndClosingWritesNothing) {
    auto [process, window] = StartShown(LayOut());
    EXPECT_EQ(window.TabCount(), 0);
    EXPECT_EQ(window.ItemCount(), 0);
    process.Close();
    EXPECT_FALSE(folder_.Exists(L"Corvel.cvx"));
}

TEST_F(CatalogueFileTest, UnchangedCatalogueIsNotRewrittenEvenWithDroppedLines) {
    // Every line but the two good headers and Zip is dropped on reading, so
    // a rewrite would change the bytes.
    const std::string bytes = ItemLine("Early") + Line("[]") + ItemLine("Lost") + Line("just a note") +
                              Line("[Tools]") + ItemLine("Zip") + Line("<Name=NoSource\x02>") + Line("[Games]");
    const std::wstring program = LayOut();
    folder_.WriteFile(L"Corvel.cvx", bytes);
    // An old time, so that even a rewrite within the same second shows.
    const FILETIME old_time{0xC89DC000, 0x01C07385};  // 2001-01-01
    folder_.SetLastWriteTime(L"Corvel.cvx", old_time);

    auto [process, window] = StartShown(program);
    EXPECT_EQ(window.TabTexts(), (std::vector<std::wstring>{L"Tools", L"Games"}));
    EXPECT_EQ(window.CurrentTab(), 0);
    EXPECT_EQ(window.ItemTexts(), (std::vector<std::wstring>{L"Zip"}));
    process.Close();

    EXPECT_EQ(folder_.ReadFile(L"Corvel.cvx"), bytes);
    const FILETIME time = folder_.LastWriteTime(L"Corvel.cvx");
    EXPECT_EQ(CompareFileTime(&time, &old_time), 0) << "the catalogue file was rewritten";
}

TEST_F(CatalogueFileTest, ChineseNamesInCodePage936ShowAsWritten) {
    // GBK bytes of 常用工具, 解压缩 and 游戏.
    const std::string bytes =
        Line("[\xB3\xA3\xD3\xC3\xB9\xA4\xBE\xDF]") + ItemLine("\xBD\xE2\xD1\xB9\xCB\xF5") + Line("[\xD3\xCE\xCF\xB7]");
    const std::wstring program = LayOut();
    folder_.WriteFile(L"Corvel.cvx", bytes);

    auto [process, window] = StartShown(program);
    EXPECT_EQ(window.TabTexts(), (std::vector<std::wstring>{L"\u5e38\u7528\u5de5\u5177", L"\u6e38\u620f"}));
    EXPECT_EQ(window.ItemTexts(), (std::vector<std::wstring>{L"\u89e3\u538b\u7f29"}));
    process.Close();
    EXPECT_EQ(folder_.ReadFile(L"Corvel.cvx"), bytes);
}

}  // namespace
}  // namespace corvel::e2e
