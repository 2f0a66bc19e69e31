#include "catalogue/native_system_folder.h"

#include <gtest/gtest.h>

namespace corvel {
namespace {

TEST(NativeSystemPath, TheSystemFolderAndWhatLiesBelowItGoThroughSysnativeUnderWow64) {
    EXPECT_EQ(NativeSystemPath("C:\\Windows", true, "C:\\Windows\\System32"), "C:\\Windows\\Sysnative");
    EXPECT_EQ(NativeSystemPath("C:\\Windows", true, "C:\\Windows\\System32\\"), "C:\\Windows\\Sysnative\\");
    EXPECT_EQ(NativeSystemPath("C:\\Windows", true, "C:\\Windows\\System32\\tool.exe"),
              "C:\\Windows\\Sysnative\\tool.exe");
    EXPECT_EQ(NativeSystemPath("C:\\Windows", true, "C:\\Windows\\System32\\drivers\\etc\\hosts"),
              "C:\\Windows\\Sysnative\\drivers\\etc\\hosts");
    // As the user typed it, and as the system reports the folder.
    EXPECT_EQ(NativeSystemPath("C:\\WINDOWS", true, "c:\\windows\\system32\\Tool.exe"),
              "C:\\WINDOWS\\Sysnative\\Tool.exe");
    EXPECT_EQ(NativeSystemPath("D:\\Win\\", true, "D:\\Win\\System32\\x.exe"), "D:\\Win\\Sysnative\\x.exe");
    EXPECT_EQ(NativeSystemPath("C:\\", true, "C:\\System32\\x.exe"), "C:\\Sysnative\\x.exe");
}

TEST(NativeSystemPath, OnlyTheWholeSystem32ComponentOfTheWindowsFolderIsMapped) {
    for (const char* path : {"C:\\Windows\\System32x\\tool.exe", "C:\\Windows\\System3", "C:\\Windows\\SysWOW64\\a.exe",
                             "C:\\Windows\\notepad.exe", "C:\\Windows", "D:\\Windows\\System32\\tool.exe",
                             "C:\\Windows2\\System32\\tool.exe", "C:\\Other\\Windows\\System32\\tool.exe",
                             "C:\\Windows\\Sysnative\\tool.exe", "System32\\tool.exe", ""}) {
        EXPECT_EQ(NativeSystemPath("C:\\Windows", true, path), path) << path;
    }
    // A Chinese character whose trail byte is a letter is no letter.
    EXPECT_EQ(NativeSystemPath("C:\\\xD7\x41", true, "C:\\\xD7\x61\\System32\\x.exe"), "C:\\\xD7\x61\\System32\\x.exe");
    EXPECT_EQ(NativeSystemPath("C:\\\xD7\x41", true, "C:\\\xD7\x41\\System32\\x.exe"), "C:\\\xD7\x41\\Sysnative\\x.exe");
}

TEST(NativeSystemPath, NothingIsMappedWithoutWow64OrWithoutAWindowsFolder) {
    EXPECT_EQ(NativeSystemPath("C:\\Windows", false, "C:\\Windows\\System32\\tool.exe"),
              "C:\\Windows\\System32\\tool.exe");
    EXPECT_EQ(NativeSystemPath("", true, "\\System32\\tool.exe"), "\\System32\\tool.exe");
}

TEST(SysnativeFolder, JoinsWithOneBackslash) {
    EXPECT_EQ(SysnativeFolder("C:\\Windows"), "C:\\Windows\\Sysnative");
    EXPECT_EQ(SysnativeFolder("C:\\Windows\\"), "C:\\Windows\\Sysnative");
}

}  // namespace
}  // namespace corvel
