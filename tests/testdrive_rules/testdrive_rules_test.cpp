// Fennick's deciding parts: drive letters by what the device table says,
// the folder shown for a mapping, and the order of the Create and Delete
// checks.
#include "testdrive_rules.h"

#include <gtest/gtest.h>

namespace corvel {
namespace {

TEST(ClassifyDrive, FreeRealAndMappedLetters) {
    EXPECT_EQ(ClassifyDrive(L"E:", std::nullopt), DriveUse::Free);
    // Disks, CD drives and network drives are devices, in any case.
    EXPECT_EQ(ClassifyDrive(L"C:", L"\\Device\\HarddiskVolume1"), DriveUse::RealDrive);
    EXPECT_EQ(ClassifyDrive(L"N:", L"\\device\\LanmanRedirector\\;N:0\\server\\share"), DriveUse::RealDrive);
    EXPECT_EQ(ClassifyDrive(L"F:", L"\\??\\D:\\CD1"), DriveUse::FolderMapping);
    EXPECT_EQ(ClassifyDrive(L"F:", L"D:\\CD1"), DriveUse::FolderMapping);
    // Only "\DEVICE\" as a whole prefix makes a device.
    EXPECT_EQ(ClassifyDrive(L"G:", L"\\??\\D:\\Device\\x"), DriveUse::FolderMapping);
    // A letter that stands for itself is neither free nor a folder.
    EXPECT_EQ(ClassifyDrive(L"h:", L"H:"), DriveUse::RealDrive);
}

TEST(DisplayedFolder, SkipsTheSystemsPrefixOnly) {
    EXPECT_EQ(DisplayedFolder(L"\\??\\D:\\Test"), L"D:\\Test");
    EXPECT_EQ(DisplayedFolder(L"D:\\Test"), L"D:\\Test");
    EXPECT_EQ(DisplayedFolder(L"\\??\\UNC\\server\\share"), L"UNC\\server\\share");
    EXPECT_EQ(DisplayedFolder(L"\\\\?\\"), L"");
    EXPECT_EQ(DisplayedFolder(L""), L"");
    // Chinese folder names follow the drive letter untouched.
    EXPECT_EQ(DisplayedFolder(L"\\??\\D:\\光盘"), L"D:\\光盘");
}

TEST(IsDriveLetterText, ExactlyALetterAndAColon) {
    EXPECT_TRUE(IsDriveLetterText(L"F:"));
    EXPECT_TRUE(IsDriveLetterText(L"z:"));
    for (const wchar_t* bad : {L"", L"F", L"F:\\", L"1:", L"FF", L":F"}) EXPECT_FALSE(IsDriveLetterText(bad)) << bad;
}

TEST(CheckCreate, RefusalsInTheirOrder) {
    const std::optional<std::wstring> letter = L"F:";
    EXPECT_EQ(CheckCreate(L"", false, std::nullopt), CreateRefusal::EmptyFolder);
    EXPECT_EQ(CheckCreate(L"D:\\Nowhere", false, std::nullopt), CreateRefusal::MissingFolder);
    for (const wchar_t* root : {L"D:", L"D:\\"}) EXPECT_EQ(CheckCreate(root, true, letter), CreateRefusal::DriveRoot);
    EXPECT_EQ(CheckCreate(L"D:\\CD", true, std::nullopt), CreateRefusal::NoLetter);
    EXPECT_EQ(CheckCreate(L"D:\\CD", true, std::wstring()), CreateRefusal::InvalidLetter);
    EXPECT_EQ(CheckCreate(L"D:\\CD", true, letter), CreateRefusal::None);
}

TEST(CheckDelete, RefusalsInTheirOrder) {
    EXPECT_EQ(CheckDelete(std::nullopt), DeleteRefusal::NoLetter);
    EXPECT_EQ(CheckDelete(std::wstring()), DeleteRefusal::InvalidLetter);
    EXPECT_EQ(CheckDelete(L"F:"), DeleteRefusal::None);
}

}  // namespace
}  // namespace corvel
