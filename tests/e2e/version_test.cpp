// Every program and component carries the version resource a Windows user
// sees in the file's properties.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "corvel_version.h"
#include "tests/e2e/harness/wine_path.h"

namespace corvel::e2e {
namespace {

struct VersionOf {
    DWORD major = 0, minor = 0, build = 0, fileType = 0;
    std::wstring description, fileVersion;
};

VersionOf ReadVersion(const std::wstring& path) {
    VersionOf version;
    DWORD size = GetFileVersionInfoSizeW(path.c_str(), nullptr);
    std::vector<unsigned char> block(size);
    if (size == 0 || !GetFileVersionInfoW(path.c_str(), 0, size, block.data())) return version;
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    if (VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &length) && fixed) {
        version.major = HIWORD(fixed->dwFileVersionMS);
        version.minor = LOWORD(fixed->dwFileVersionMS);
        version.build = LOWORD(fixed->dwFileVersionLS);
        version.fileType = fixed->dwFileType;
    }
    wchar_t* text = nullptr;
    if (VerQueryValueW(block.data(), L"\\StringFileInfo\\080404b0\\FileDescription", reinterpret_cast<void**>(&text),
                       &length) &&
        text)
        version.description = text;
    if (VerQueryValueW(block.data(), L"\\StringFileInfo\\080404b0\\FileVersion", reinterpret_cast<void**>(&text),
                       &length) &&
        text)
        version.fileVersion = text;
    return version;
}

TEST(VersionTest, EveryProgramAndComponentCarriesVersion4WithAChineseDescription) {
    struct Expected {
        const char* path;
        DWORD fileType;
        std::wstring description;
    };
    const Expected files[] = {
        {CORVEL_EXE_PATH, VFT_APP,
         L"Corvel \u8f6f\u4ef6\u5b89\u88c5\u5149\u76d8\u7ba1\u7406\u7a0b\u5e8f"},      // 软件安装光盘管理程序
        {FENNICK_EXE_PATH, VFT_APP, L"Fennick \u5149\u76d8\u6d4b\u8bd5\u7a0b\u5e8f"},  // 光盘测试程序
        {TOBRIN_CPN_PATH, VFT_DLL, L"Tobrin \u5b89\u88c5\u7a0b\u5e8f\u7ec4\u4ef6"},    // 安装程序组件
        {MAELIS_CPN_PATH, VFT_DLL, L"Maelis \u8f6f\u4ef6\u8bbe\u7f6e\u6062\u590d\u7ec4\u4ef6"},  // 软件设置恢复组件
        {QUARRO_CPN_PATH, VFT_DLL, L"Quarro \u5916\u58f3\u542f\u52a8\u7ec4\u4ef6"},              // 外壳启动组件
    };
    for (const Expected& file : files) {
        VersionOf version = ReadVersion(WindowsPathFromBuildPath(file.path));
        EXPECT_EQ(version.major, 4u) << file.path;
        EXPECT_EQ(version.minor, 0u) << file.path;
        EXPECT_EQ(version.build, static_cast<DWORD>(CORVEL_BUILD_NUMBER)) << file.path;
        EXPECT_EQ(version.fileType, file.fileType) << file.path;
        EXPECT_EQ(version.description, file.description) << file.path;
        EXPECT_EQ(version.fileVersion, CORVEL_VERSION_TEXT_WIDE) << file.path;
    }
}

}  // namespace
}  // namespace corvel::e2e
