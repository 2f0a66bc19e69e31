// Fennick.exe in another process: the drive lists, mapping a folder to a
// free letter and removing it, and every refusal. Wine keeps the device
// table, but a letter mapped to a folder cannot be used to open files under
// Wine: that, and network drives left out of both lists, only Windows shows.
#include "tests/e2e/e2e_test_support.h"
// After windows.h, which the support header brings.
#include <commctrl.h>

#include <algorithm>

#include "tests/e2e/harness/wine_path.h"
#include "tests/ui/keyboard_check.h"

namespace corvel::e2e {
namespace {

constexpr int kTestFolder = 1000;
constexpr int kFreeLetters = 1002;
constexpr int kMappedLetters = 1003;
constexpr int kMappedFolder = 1004;
constexpr int kCreate = 1005;
constexpr int kDelete = 1006;
const std::wstring kCaption = L"\u6d4b\u8bd5\u5149\u76d8";  // 测试光盘

std::optional<std::wstring> Target(const std::wstring& letter) {
    wchar_t target[4096] = {};
    if (!QueryDosDeviceW(letter.c_str(), target, 4096)) return std::nullopt;
    return std::wstring(target);
}

bool IsDevice(const std::wstring& letter) {
    std::optional<std::wstring> target = Target(letter);
    return target && _wcsnicmp(target->c_str(), L"\\Device\\", 8) == 0;
}

class FennickTest : public E2eTest {
protected:
    void SetUp() override {
        E2eTest::SetUp();
        // Wine's own drives must never be touched: C: and Z: are devices.
        ASSERT_TRUE(IsDevice(L"C:"));
        ASSERT_TRUE(IsDevice(L"Z:"));
        RemoveTestMappings();
    }
    void TearDown() override { RemoveTestMappings(); }
    // Letters this suite maps; removed only while they are folder mappings.
    static void RemoveTestMappings() {
        for (const wchar_t* letter : {L"F:", L"G:", L"H:"}) {
            while (Target(letter) && !IsDevice(letter)) DefineDosDeviceW(DDD_REMOVE_DEFINITION, letter, nullptr);
        }
    }

    // Fennick's hidden mode, as its elevated copy runs: no window, the
    // answer in the exit code.
    std::optional<DWORD> RunHidden(const std::wstring& arguments) {
        CorvelProcess& process = Start(WindowsPathFromBuildPath(FENNICK_EXE_PATH), arguments);
        std::optional<DWORD> code = process.WaitForExit(kStepTimeout);
        EXPECT_TRUE(process.Windows(true).empty());
        return code;
    }

    HWND StartFennick(CorvelProcess*& process) {
        process = &Start(WindowsPathFromBuildPath(FENNICK_EXE_PATH));
        return process->WaitForDialog(kCaption, kStartTimeout);
    }

    static std::vector<std::wstring> Entries(const CorvelProcess&, HWND dialog, int list) {
        // The system carries a combo box's texts across processes itself.
        HWND combo = GetDlgItem(dialog, list);
        std::vector<std::wstring> entries;
        for (LRESULT i = 0, n = SendMessageW(combo, CB_GETCOUNT, 0, 0); i < n; ++i) {
            wchar_t text[64] = {};
            SendMessageW(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
            entries.push_back(text);
        }
        return entries;
    }
    static std::wstring Text(HWND dialog, int id) { return ControlText(GetDlgItem(dialog, id)); }
    static void Choose(HWND dialog, int list, int index) {
        SendMessageW(GetDlgItem(dialog, list), CB_SETCURSEL, index, 0);
    }

    // Presses a button, reads the message box it shows, and closes it.
    std::wstring Press(CorvelProcess& process, HWND dialog, int button) {
        PressDialogButton(dialog, button);
        HWND box = process.WaitForMessageBox(kCaption);
        std::wstring text = MessageBoxText(box);
        PressDialogButton(box, IDOK);
        WaitUntil([&] { return !IsWindow(box); }, kStepTimeout);
        return text;
    }
};

TEST_F(FennickTest, MapsAFolderToAFreeLetterAndRemovesItAgain) {
    CreateDirectoryW(folder_.PathOf(L"CDtest").c_str(), nullptr);
    CorvelProcess* process = nullptr;
    HWND dialog = StartFennick(process);

    std::vector<std::wstring> free = Entries(*process, dialog, kFreeLetters);
    ASSERT_FALSE(free.empty());
    EXPECT_EQ(std::find(free.begin(), free.end(), L"C:"), free.end()) << "C: is a real drive";
    EXPECT_EQ(std::find(free.begin(), free.end(), L"Z:"), free.end()) << "Z: is a real drive";
    EXPECT_EQ(std::find(free.begin(), free.end(), L"A:"), free.end());
    EXPECT_TRUE(Entries(*process, dialog, kMappedLetters).empty());
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, kMappedLetters)));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, kDelete)));

    // Relative to Fennick's working folder: the mapping names the full path.
    const int f = static_cast<int>(std::find(free.begin(), free.end(), L"F:") - free.begin());
    ASSERT_LT(f, static_cast<int>(free.size()));
    Choose(dialog, kFreeLetters, f);
    SetControlText(dialog, kTestFolder, L"CDtest");
    EXPECT_EQ(Press(*process, dialog, kCreate), L"\u6210\u529f\u521b\u5efa\u6d4b\u8bd5\u76d8\u7b26");
    ASSERT_TRUE(WaitUntil([&] { return Entries(*process, dialog, kMappedLetters) == std::vector<std::wstring>{L"F:"}; },
                          kStepTimeout));
    free = Entries(*process, dialog, kFreeLetters);
    EXPECT_EQ(std::find(free.begin(), free.end(), L"F:"), free.end());
    EXPECT_EQ(Text(dialog, kMappedFolder), folder_.PathOf(L"CDtest"));
    EXPECT_TRUE(Target(L"F:").has_value());

    EXPECT_EQ(Press(*process, dialog, kDelete), L"\u6210\u529f\u5220\u9664\u76d8\u7b26");
    ASSERT_TRUE(WaitUntil([&] { return Entries(*process, dialog, kMappedLetters).empty(); }, kStepTimeout));
    EXPECT_FALSE(Target(L"F:").has_value());
    PressDialogButton(dialog, IDCANCEL);
    EXPECT_EQ(process->WaitForExit(kStepTimeout), std::optional<DWORD>(0));
}

TEST_F(FennickTest, EveryRefusalHasItsMessage) {
    CorvelProcess* process = nullptr;
    HWND dialog = StartFennick(process);
    SetControlText(dialog, kTestFolder, L"");
    EXPECT_EQ(Press(*process, dialog, kCreate), L"\u6d4b\u8bd5\u76ee\u5f55\u4e0d\u80fd\u4e3a\u7a7a");
    SetControlText(dialog, kTestFolder, folder_.PathOf(L"missing"));
    EXPECT_EQ(Press(*process, dialog, kCreate), L"\u6d4b\u8bd5\u76ee\u5f55\u4e0d\u5b58\u5728");
    SetControlText(dialog, kTestFolder, L"C:\\");
    EXPECT_EQ(Press(*process, dialog, kCreate),
              L"\u4e0d\u80fd\u4ee5\u9a71\u52a8\u5668\u76d8\u7b26\u4f5c\u4e3a\u6d4b\u8bd5\u76ee\u5f55");
    SetControlText(dialog, kTestFolder, folder_.Path());
    Choose(dialog, kFreeLetters, -1);
    EXPECT_EQ(Press(*process, dialog, kCreate),
              L"\u8bf7\u5148\u5728\u5217\u8868\u4e2d\u9009\u62e9\u4e00\u4e2a\u6d4b\u8bd5\u6240\u4f7f\u7528\u7684\u76d8"
              L"\u7b26");
    // Nothing was mapped by the refusals.
    EXPECT_TRUE(Entries(*process, dialog, kMappedLetters).empty());
    PressDialogButton(dialog, IDCANCEL);
}

TEST_F(FennickTest, AFolderCodePage936CannotNameIsMappedAsTyped) {
    // The folder goes to the device table only, so any name works.
    const std::wstring name = L"\xD55C\xAE00 \xD83D\xDE00";
    ASSERT_TRUE(CreateDirectoryW(folder_.PathOf(name).c_str(), nullptr));
    CorvelProcess* process = nullptr;
    HWND dialog = StartFennick(process);
    std::vector<std::wstring> free = Entries(*process, dialog, kFreeLetters);
    const int g = static_cast<int>(std::find(free.begin(), free.end(), L"G:") - free.begin());
    ASSERT_LT(g, static_cast<int>(free.size()));
    Choose(dialog, kFreeLetters, g);
    SetControlText(dialog, kTestFolder, folder_.PathOf(name));
    EXPECT_EQ(Press(*process, dialog, kCreate), L"\u6210\u529f\u521b\u5efa\u6d4b\u8bd5\u76d8\u7b26");
    ASSERT_TRUE(WaitUntil([&] { return Entries(*process, dialog, kMappedLetters) == std::vector<std::wstring>{L"G:"}; },
                          kStepTimeout));
    EXPECT_EQ(Text(dialog, kMappedFolder), folder_.PathOf(name));
    std::optional<std::wstring> target = Target(L"G:");
    ASSERT_TRUE(target.has_value());
    EXPECT_NE(target->find(folder_.PathOf(name)), std::wstring::npos) << "the device table names the folder itself";
    PressDialogButton(dialog, IDCANCEL);
    EXPECT_TRUE(process->WaitForExit(kStepTimeout).has_value());
}

TEST_F(FennickTest, AMappingMadeElsewhereIsFoundAndDeleted) {
    ASSERT_TRUE(DefineDosDeviceW(0, L"G:", folder_.Path().c_str()));
    CorvelProcess* process = nullptr;
    HWND dialog = StartFennick(process);
    EXPECT_EQ(Entries(*process, dialog, kMappedLetters), std::vector<std::wstring>{L"G:"});
    EXPECT_EQ(Text(dialog, kMappedFolder), folder_.Path());

    Choose(dialog, kMappedLetters, -1);
    EXPECT_EQ(Press(*process, dialog, kDelete),
              L"\u8bf7\u5148\u5728\u5217\u8868\u4e2d\u9009\u62e9\u4e00\u4e2a\u8981\u5220\u9664\u7684\u76d8\u7b26");
    Choose(dialog, kMappedLetters, 0);
    EXPECT_EQ(Press(*process, dialog, kDelete), L"\u6210\u529f\u5220\u9664\u76d8\u7b26");
    EXPECT_FALSE(Target(L"G:").has_value());
    PressDialogButton(dialog, IDCANCEL);
}

TEST_F(FennickTest, AFolderNearThePathLimitIsStillSeenAsAMapping) {
    // With the system's prefix before it the target passes 260 characters.
    std::wstring deep = folder_.Path();
    while (deep.size() < 250) {
        deep += L"\\deep_folder";
        CreateDirectoryW(deep.c_str(), nullptr);
    }
    ASSERT_TRUE(DefineDosDeviceW(0, L"H:", deep.c_str()));
    ASSERT_GT(Target(L"H:").value_or(L"").size(), static_cast<std::size_t>(MAX_PATH));
    CorvelProcess* process = nullptr;
    HWND dialog = StartFennick(process);
    EXPECT_EQ(Entries(*process, dialog, kMappedLetters), std::vector<std::wstring>{L"H:"});
    std::vector<std::wstring> free = Entries(*process, dialog, kFreeLetters);
    EXPECT_EQ(std::find(free.begin(), free.end(), L"H:"), free.end()) << "a mapped letter offered as free";
    EXPECT_EQ(Text(dialog, kMappedFolder), deep);
    PressDialogButton(dialog, IDCANCEL);
}

TEST_F(FennickTest, TheHiddenModeMapsAndUnmapsALetterAndAnswersInItsExitCode) {
    const std::wstring cd = folder_.PathOf(L"CD 1");
    ASSERT_TRUE(CreateDirectoryW(cd.c_str(), nullptr));
    // A trailing backslash is doubled before the closing quote.
    EXPECT_EQ(RunHidden(L"/map-elevated H: \"" + cd + L"\\\\\""), std::optional<DWORD>(0));
    std::optional<std::wstring> target = Target(L"H:");
    ASSERT_TRUE(target.has_value());
    EXPECT_NE(target->find(cd), std::wstring::npos);
    // Its own mapping again is done; another folder on the letter is not.
    EXPECT_EQ(RunHidden(L"/map-elevated H: \"" + cd + L"\""), std::optional<DWORD>(0));
    EXPECT_EQ(RunHidden(L"/map-elevated H: \"" + folder_.Path() + L"\""), std::optional<DWORD>(1));
    EXPECT_EQ(Target(L"H:"), target);

    EXPECT_EQ(RunHidden(L"/unmap-elevated H:"), std::optional<DWORD>(0));
    EXPECT_FALSE(Target(L"H:").has_value());
    // Nothing left to remove is done too.
    EXPECT_EQ(RunHidden(L"/unmap-elevated H:"), std::optional<DWORD>(0));

    // A real drive is never removed, a missing folder never mapped, and
    // arguments Fennick does not give are refused.
    EXPECT_EQ(RunHidden(L"/unmap-elevated C:"), std::optional<DWORD>(1));
    EXPECT_TRUE(IsDevice(L"C:"));
    EXPECT_EQ(RunHidden(L"/map-elevated H: \"" + folder_.PathOf(L"missing") + L"\""), std::optional<DWORD>(1));
    EXPECT_EQ(RunHidden(L"/map-elevated H:"), std::optional<DWORD>(1));
    EXPECT_FALSE(Target(L"H:").has_value());
}

TEST_F(FennickTest, TheKeyboardReachesEveryFieldAndEnterPressesTheButtonOfItsHalf) {
    using namespace corvel::testing;
    CreateDirectoryW(folder_.PathOf(L"CDkeys").c_str(), nullptr);
    CorvelProcess* process = nullptr;
    HWND dialog = StartFennick(process);
    ExpectKeyboardUsable(dialog);
    auto focusReaches = [&](int id) {
        return WaitUntil([&] { return FocusedControlOf(dialog) == GetDlgItem(dialog, id); }, kStepTimeout);
    };
    // Enter in the folder field creates, and leaves Fennick open.
    std::vector<std::wstring> free = Entries(*process, dialog, kFreeLetters);
    const int f = static_cast<int>(std::find(free.begin(), free.end(), L"F:") - free.begin());
    ASSERT_LT(f, static_cast<int>(free.size()));
    PostMnemonic(dialog, L'L');
    EXPECT_TRUE(focusReaches(kFreeLetters));
    Choose(dialog, kFreeLetters, f);
    PostMnemonic(dialog, L'F');
    ASSERT_TRUE(focusReaches(kTestFolder));
    SetControlText(dialog, kTestFolder, folder_.PathOf(L"CDkeys"));
    PostKey(dialog, VK_RETURN);
    HWND box = process->WaitForMessageBox(kCaption);
    EXPECT_EQ(MessageBoxText(box), L"\u6210\u529f\u521b\u5efa\u6d4b\u8bd5\u76d8\u7b26");
    PressDialogButton(box, IDOK);
    ASSERT_TRUE(WaitUntil([&] { return Entries(*process, dialog, kMappedLetters) == std::vector<std::wstring>{L"F:"}; },
                          kStepTimeout));
    ExpectKeyboardUsable(dialog);

    // Enter on the letter to delete deletes it.
    PostMnemonic(dialog, L'E');
    ASSERT_TRUE(focusReaches(kMappedLetters));
    PostKey(dialog, VK_RETURN);
    box = process->WaitForMessageBox(kCaption);
    EXPECT_EQ(MessageBoxText(box), L"\u6210\u529f\u5220\u9664\u76d8\u7b26");
    PressDialogButton(box, IDOK);
    EXPECT_TRUE(WaitUntil([&] { return !Target(L"F:").has_value(); }, kStepTimeout));

    PostKey(dialog, VK_ESCAPE);
    EXPECT_EQ(process->WaitForExit(kStepTimeout), std::optional<DWORD>(0));
}

}  // namespace
}  // namespace corvel::e2e
