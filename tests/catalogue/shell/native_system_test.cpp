#include "catalogue/shell/native_system.h"

#include <gtest/gtest.h>

#include "catalogue/native_system_folder.h"
#include "catalogue/shell/shell_files.h"

namespace corvel {
namespace {

TEST(NativeSystem, WoW64IsSeenExactlyWhereTheSysnativeAliasExists) {
    // Only a 32-bit process on 64-bit Windows sees the alias; a 64-bit one
    // and one on 32-bit Windows do not.
    ASSERT_FALSE(WindowsFolder().empty());
    ASSERT_TRUE(FolderExists(WindowsFolder()));
    EXPECT_EQ(RunsUnderWow64(), FolderExists(SysnativeFolder(WindowsFolder())));
    if constexpr (sizeof(void*) == 8) {
        EXPECT_FALSE(RunsUnderWow64());
    }
}

TEST(NativeSystem, WithoutWoW64SystemPathsAreLookedUpAndLookedUpAsTheyStand) {
    if (RunsUnderWow64()) GTEST_SKIP() << "a 32-bit process on 64-bit Windows";
    const std::string system32 = WindowsFolder() + "\\System32";
    for (const std::string& path : {system32, system32 + "\\notepad.exe", std::string("C:\\Tools\\x.exe")})
        EXPECT_EQ(NativePath(path), path);
    EXPECT_TRUE(FolderExists(system32));
    EXPECT_TRUE(FileExists(system32 + "\\notepad.exe"));
}

TEST(NativeSystem, UnderWoW64TheSystemFolderIsTheNativeOne) {
    if (!RunsUnderWow64()) GTEST_SKIP() << "not a 32-bit process on 64-bit Windows";
    EXPECT_EQ(NativePath(WindowsFolder() + "\\System32\\x.exe"), WindowsFolder() + "\\Sysnative\\x.exe");
}

}  // namespace
}  // namespace corvel
