#include "catalogue/shell/icon_cache.h"

#include <gtest/gtest.h>

#include <utility>

#include "catalogue/long_path.h"
#include "catalogue/shell/shell_files.h"
#include "tests/catalogue/shell/shell_test_support.h"

namespace corvel {
namespace {

using namespace testing;

const UINT kListFlags = ILC_COLOR32 | ILC_MASK;

// Sets "Shell Icon Size" for one test and puts back what was there.
class ShellIconSizeValue {
public:
    ShellIconSizeValue() {
        RegCreateKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Desktop\\WindowMetrics", 0, nullptr, 0, KEY_ALL_ACCESS,
                        nullptr, &key_, nullptr);
        DWORD bytes = sizeof saved_;
        had_ = RegQueryValueExW(key_, kValue, nullptr, &type_, saved_, &bytes) == ERROR_SUCCESS;
        savedBytes_ = bytes;
    }
    ~ShellIconSizeValue() {
        if (had_) {
            RegSetValueExW(key_, kValue, 0, type_, saved_, savedBytes_);
        } else {
            RegDeleteValueW(key_, kValue);
        }
        RegCloseKey(key_);
    }
    void Set(DWORD type, const void* data, DWORD bytes) {
        RegSetValueExW(key_, kValue, 0, type, static_cast<const BYTE*>(data), bytes);
    }
    void SetText(const std::wstring& text) {
        Set(REG_SZ, text.c_str(), static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
    }
    void Remove() { RegDeleteValueW(key_, kValue); }

private:
    static constexpr const wchar_t* kValue = L"Shell Icon Size";
    HKEY key_ = nullptr;
    DWORD type_ = 0, savedBytes_ = 0;
    BYTE saved_[64] = {};
    bool had_ = false;
};

// A real executable to hand to the shell: this test program.
std::string CopyOfThisProgram(const std::string& target) {
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    CopyFileW(self, WideLongPath(target).c_str(), FALSE);
    return target;
}

// A copy of this program whose first icon holds a 32 and a 48 pixel image,
// each a square of its own colour (0xRRGGBB).
std::string ProgramWithTwoIconSizes(const std::string& target, DWORD colour32, DWORD colour48) {
    CopyOfThisProgram(target);
    HANDLE update = BeginUpdateResourceW(WideLongPath(target).c_str(), FALSE);
    if (!update) return {};
#pragma pack(push, 2)
    struct GroupEntry {
        BYTE width, height, colours, reserved;
        WORD planes, bitCount;
        DWORD bytes;
        WORD id;
    };
    struct Group {
        WORD reserved, type, count;
        GroupEntry entries[2];
    };
#pragma pack(pop)
    Group group = {0, 1, 2, {}};
    const int sizes[2] = {32, 48};
    const DWORD colours[2] = {colour32, colour48};
    bool ok = true;
    for (int i = 0; i < 2; ++i) {
        int size = sizes[i];
        BITMAPINFOHEADER header = {};
        header.biSize = sizeof header;
        header.biWidth = size;
        header.biHeight = size * 2;  // colour and mask
        header.biPlanes = 1;
        header.biBitCount = 32;
        std::string image(reinterpret_cast<const char*>(&header), sizeof header);
        for (int p = 0; p < size * size; ++p) {
            DWORD pixel = 0xFF000000 | colours[i];
            image.append(reinterpret_cast<const char*>(&pixel), 4);
        }
        image.append(static_cast<std::size_t>(size * size / 8), '\0');  // mask: all drawn
        WORD id = static_cast<WORD>(i + 1);
        group.entries[i] = {
            static_cast<BYTE>(size), static_cast<BYTE>(size), 0, 0, 1, 32, static_cast<DWORD>(image.size()), id};
        ok = ok && UpdateResourceW(update, RT_ICON, MAKEINTRESOURCEW(id), MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL),
                                   image.data(), static_cast<DWORD>(image.size()));
    }
    ok = ok && UpdateResourceW(update, RT_GROUP_ICON, MAKEINTRESOURCEW(1), MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL),
                               &group, sizeof group);
    return EndUpdateResourceW(update, !ok) && ok ? target : std::string();
}

// The colour (0xRRGGBB) in the middle of an image of the cache's list.
DWORD MiddleColour(const FileIconCache& cache, int image) {
    int size = cache.IconSize();
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = size;
    info.bmiHeader.biHeight = -size;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(dc, bitmap);
    ImageList_Draw(cache.ImageList(), image, dc, 0, 0, ILD_NORMAL);
    GdiFlush();
    DWORD colour = static_cast<const DWORD*>(bits)[size / 2 * size + size / 2] & 0xFFFFFF;
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    return colour;
}

TEST(FileIconCache, AProgramsIconIsReadAtTheCachesSize) {
    constexpr DWORD kRed = 0xFF0000, kBlue = 0x0000FF;
    ScratchFolder scratch;
    std::string program = ProgramWithTwoIconSizes(scratch / "two sizes.exe", kRed, kBlue);
    ASSERT_FALSE(program.empty()) << "cannot write icon resources here";
    ShellIconSizeValue value;
    // Whichever size differs from the system's icon size shows a stretched
    // image of the other when the icon is read at the system's size.
    for (auto [size, colour] : {std::pair{L"32", kRed}, std::pair{L"48", kBlue}}) {
        value.SetText(size);
        FileIconCache cache;
        ASSERT_TRUE(cache.Create(3, kListFlags, 30));
        int image = cache.IconIndex(program, false);
        ASSERT_GE(image, 0);
        EXPECT_EQ(MiddleColour(cache, image), colour) << "cache size " << cache.IconSize();
    }
}

TEST(ShellIconSize, PlainDigitsOnly) {
    EXPECT_EQ(ShellIconSizeFromText(L"32"), 32);
    EXPECT_EQ(ShellIconSizeFromText(L"048"), 48);
    for (const wchar_t* text : {L" 32", L"32 ", L"32px", L"+32", L"-32", L"", L"\xFF13\xFF12", L"99999999999"}) {
        EXPECT_EQ(ShellIconSizeFromText(text), -1) << text;
    }
}

TEST(ShellIconSize, ReadsTheRegistryValue) {
    ShellIconSizeValue value;
    value.SetText(L"48");
    EXPECT_EQ(ReadShellIconSize(), 48);
    value.SetText(L"32px");
    EXPECT_EQ(ReadShellIconSize(), -1);
    DWORD number = 32;
    value.Set(REG_DWORD, &number, sizeof number);
    EXPECT_EQ(ReadShellIconSize(), -1);
    value.Set(REG_SZ, L"24", 2 * sizeof(wchar_t));  // stored without its NUL
    EXPECT_EQ(ReadShellIconSize(), 24);
    value.Remove();
    EXPECT_EQ(ReadShellIconSize(), -1);
}

TEST(FileIconCache, CreateBySizeType) {
    ShellIconSizeValue value;
    FileIconCache cache;
    EXPECT_FALSE(cache.Create(0, kListFlags, 30));
    EXPECT_FALSE(cache.Create(4, kListFlags, 30));
    EXPECT_EQ(cache.IconIndex("C:\\a.txt", false), -1);
    ASSERT_TRUE(cache.Create(1, kListFlags, 30));
    EXPECT_EQ(cache.IconSize(), GetSystemMetrics(SM_CXSMICON));
    ASSERT_TRUE(cache.Create(2, kListFlags, 30));
    EXPECT_EQ(cache.IconSize(), GetSystemMetrics(SM_CXICON));
    value.SetText(L"48");
    ASSERT_TRUE(cache.Create(3, kListFlags, 30));
    int cx = 0, cy = 0;
    ImageList_GetIconSize(cache.ImageList(), &cx, &cy);
    EXPECT_EQ(cx, 48);
    EXPECT_EQ(cy, 48);
    // Missing or unusable: the system's large icon size, not a failure.
    for (const wchar_t* text : {L"32px", L"0", L""}) {
        value.SetText(text);
        ASSERT_TRUE(cache.Create(3, kListFlags, 30)) << text;
        EXPECT_EQ(cache.IconSize(), GetSystemMetrics(SM_CXICON)) << text;
    }
    value.Remove();
    ASSERT_TRUE(cache.Create(3, kListFlags, 30));
    EXPECT_EQ(cache.IconSize(), GetSystemMetrics(SM_CXICON));
}

TEST(FileIconCache, OneImagePerExtensionAndFolderFlag) {
    ScratchFolder scratch;
    PutFile(scratch / "a.txt", "a");
    FileIconCache cache;
    ASSERT_TRUE(cache.Create(2, kListFlags, 30));
    int txt = cache.IconIndex(scratch / "a.txt", false);
    ASSERT_GE(txt, 0);
    EXPECT_EQ(cache.IconIndex(scratch / (kChinese + ".TXT"), false), txt);
    EXPECT_EQ(cache.IconIndex("Z:\\missing\\b.Txt", false), txt);
    int folderTxt = cache.IconIndex(scratch / "a.txt", true);
    ASSERT_GE(folderTxt, 0);
    EXPECT_NE(folderTxt, txt);
    int folder = cache.IconIndex(scratch.Path(), true);
    ASSERT_GE(folder, 0);
    EXPECT_EQ(cache.IconIndex(scratch / "other", true), folder);
    int none = cache.IconIndex(scratch / "README", false);
    EXPECT_GE(none, 0);
    EXPECT_EQ(ImageList_GetImageCount(cache.ImageList()), 4);
    EXPECT_EQ(cache.IconIndex("", false), -1);
}

TEST(FileIconCache, EveryExistingExeFileGetsOneImageOfItsOwn) {
    ScratchFolder scratch;
    std::string first = CopyOfThisProgram(scratch / "first.exe");
    std::string second = CopyOfThisProgram(scratch / (kChinese + ".EXE"));
    FileIconCache cache;
    ASSERT_TRUE(cache.Create(3, kListFlags, 30));
    int a = cache.IconIndex(first, false);
    int b = cache.IconIndex(second, false);
    int again = cache.IconIndex(first, false);
    ASSERT_GE(a, 0);
    ASSERT_GE(b, 0);
    EXPECT_NE(a, b);
    EXPECT_EQ(again, a);
    EXPECT_EQ(ImageList_GetImageCount(cache.ImageList()), 2);
    // A missing EXE shares the generic icon of the extension.
    int missing = cache.IconIndex(scratch / "missing.exe", false);
    ASSERT_GE(missing, 0);
    EXPECT_EQ(cache.IconIndex(scratch / "gone.exe", false), missing);
    // So does an EXE path with the folder flag.
    EXPECT_GE(cache.IconIndex(first, true), 0);
    EXPECT_EQ(cache.IconIndex(first, true), cache.IconIndex(second, true));
    std::string deep = LongFolderPath(scratch / "deep\\");
    ASSERT_TRUE(CreateFolderPath(deep));
    EXPECT_GE(cache.IconIndex(CopyOfThisProgram(deep + "\\" + kChinese + ".exe"), false), 0);
}

TEST(FileIconCache, ClearForgetsEntriesAndImages) {
    ScratchFolder scratch;
    std::string program = CopyOfThisProgram(scratch / "setup.exe");
    FileIconCache cache;
    ASSERT_TRUE(cache.Create(2, kListFlags, 30));
    ASSERT_GE(cache.IconIndex("C:\\a.txt", false), 0);
    ASSERT_GE(cache.IconIndex("C:\\a.ini", false), 0);
    ASSERT_EQ(cache.IconIndex(program, false), 2);
    cache.Clear();
    EXPECT_EQ(ImageList_GetImageCount(cache.ImageList()), 0);
    EXPECT_EQ(cache.IconIndex("C:\\b.ini", false), 0);
    EXPECT_EQ(cache.IconIndex(program, false), 1);
    EXPECT_EQ(cache.IconIndex("C:\\b.txt", false), 2);
    // An entry whose image was removed behind the cache's back answers -1.
    ImageList_Remove(cache.ImageList(), -1);
    EXPECT_EQ(cache.IconIndex("C:\\c.txt", false), -1);
}

}  // namespace
}  // namespace corvel
