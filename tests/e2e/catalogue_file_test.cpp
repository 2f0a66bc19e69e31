// The catalogue file as the running program reads it and leaves it.
#include "tests/e2e/e2e_test_support.h"

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

// The test process holds the catalogue open as another program would.
class HeldFile {
public:
    HeldFile(const std::wstring& path, DWORD share)
        : handle_(CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, share, nullptr, OPEN_EXISTING, 0, nullptr)) {}
    ~HeldFile() { Release(); }
    bool Held() const { return handle_ != INVALID_HANDLE_VALUE; }
    void Release() {
        if (Held()) CloseHandle(handle_);
        handle_ = INVALID_HANDLE_VALUE;
    }

private:
    HANDLE handle_;
};

TEST_F(CatalogueFileTest, FileAnEditorHoldsOpenForWritingIsRead) {
    const std::wstring program = LayOut();
    const std::string bytes = Line("[Tools]") + ItemLine("Zip") + Line("[Games]");
    folder_.WriteFile(L"Corvel.cvx", bytes);
    HeldFile editor(folder_.Path() + L"\\Corvel.cvx", FILE_SHARE_READ | FILE_SHARE_WRITE);
    ASSERT_TRUE(editor.Held());
    auto [process, window] = StartShown(program);
    EXPECT_EQ(window.TabTexts(), (std::vector<std::wstring>{L"Tools", L"Games"}));
    EXPECT_EQ(window.ItemTexts(), std::vector<std::wstring>{L"Zip"});
    process.Close();
    editor.Release();
    EXPECT_EQ(folder_.ReadFile(L"Corvel.cvx"), bytes);
}

TEST_F(CatalogueFileTest, FileThatCannotBeReadIsKeptAndTheRunsCatalogueGoesBesideIt) {
    const std::wstring program = LayOut();
    const std::string bytes = Line("[Tools]") + ItemLine("Zip") + Line("[Games]");
    folder_.WriteFile(L"Corvel.cvx", bytes);
    HeldFile exclusive(folder_.Path() + L"\\Corvel.cvx", 0);
    ASSERT_TRUE(exclusive.Held());

    auto [process, window] = StartShown(program);
    EXPECT_EQ(window.TabCount(), 0);
    ASSERT_TRUE(AddCategoryAndShowTheFirst(process, window, L"Added"));
    const std::wstring caption = WindowText(window.Frame());
    PostCommand(window.Frame(), kExitCommand);
    HWND box = process.WaitForMessageBox(caption);
    const std::wstring text = MessageBoxText(box);
    EXPECT_NE(text.find(folder_.Path() + L"\\Corvel.cvx\u201d"), std::wstring::npos) << "the file is not named";
    EXPECT_NE(text.find(folder_.Path() + L"\\Corvel.cvx.kept\u201d"), std::wstring::npos) << "the copy is not named";
    PressDialogButton(box, IDOK);
    ASSERT_EQ(process.WaitForExit(kStartTimeout), std::optional<DWORD>(0));
    exclusive.Release();

    EXPECT_EQ(folder_.ReadFile(L"Corvel.cvx"), bytes);
    EXPECT_EQ(folder_.ReadFile(L"Corvel.cvx.kept"), Line("[Added]"));
}

TEST_F(CatalogueFileTest, HandMadeFileIsBackedUpBeforeTheFirstSave) {
    // LF-only lines read as nothing: the save would lose them for good.
    const std::wstring program = LayOut();
    const std::string handMade = "[Tools]\n<Name=Zip\x02SrcPath=Corvel.exe\x02>\n";
    folder_.WriteFile(L"Corvel.cvx", handMade);
    auto [process, window] = StartShown(program);
    ASSERT_TRUE(AddCategoryAndShowTheFirst(process, window, L"Added"));
    process.Close();
    EXPECT_EQ(folder_.ReadFile(L"Corvel.cvx.bak"), handMade);
    EXPECT_NE(folder_.ReadFile(L"Corvel.cvx"), handMade);
}

TEST_F(CatalogueFileTest, ByteOrderMarkOfAnEditorLosesNothing) {
    const std::wstring program = LayOut();
    folder_.WriteFile(L"Corvel.cvx", "\xEF\xBB\xBF" + Line("[Tools]") + ItemLine("Zip"));
    auto [process, window] = StartShown(program);
    EXPECT_EQ(window.TabTexts(), std::vector<std::wstring>{L"Tools"});
    EXPECT_EQ(window.ItemTexts(), std::vector<std::wstring>{L"Zip"});
    process.Close();
}

TEST_F(CatalogueFileTest, LoneTemporaryFileOfAnInterruptedSaveIsTakenUp) {
    const std::wstring program = LayOut();
    const std::string bytes = Line("[Tools]") + ItemLine("Zip");
    folder_.WriteFile(L"Corvel.cvx.corvel-tmp", bytes);
    auto [process, window] = StartShown(program);
    EXPECT_EQ(window.TabTexts(), std::vector<std::wstring>{L"Tools"});
    process.Close();
    EXPECT_EQ(folder_.ReadFile(L"Corvel.cvx"), bytes);
    EXPECT_FALSE(folder_.Exists(L"Corvel.cvx.corvel-tmp"));
}

}  // namespace
}  // namespace corvel::e2e
