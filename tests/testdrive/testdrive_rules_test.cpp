// What Fennick decides: drive letters by what the device table says,
// the folder shown for a mapping, the order of the Create and Delete
// checks, and the hidden elevated copy.
#include "testdrive/testdrive_rules.h"

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

TEST(HiddenRequest, ParametersReadBackAsTheSameRequest) {
    EXPECT_EQ(HiddenParameters({HiddenTask::MapForElevated, L"F:", L"D:\\CD 1"}), L"/map-elevated F: \"D:\\CD 1\"");
    // The system's parser would read «\"» as a quote inside the argument.
    EXPECT_EQ(HiddenParameters({HiddenTask::MapForElevated, L"F:", L"D:\\CD\\"}), L"/map-elevated F: \"D:\\CD\\\\\"");
    EXPECT_EQ(HiddenParameters({HiddenTask::UnmapForElevated, L"F:", {}}), L"/unmap-elevated F:");

    std::optional<HiddenRequest> map = ParseHiddenRequest({L"/map-elevated", L"F:", L"D:\\光盘"});
    ASSERT_TRUE(map.has_value());
    EXPECT_EQ(map->task, HiddenTask::MapForElevated);
    EXPECT_EQ(map->letter, L"F:");
    EXPECT_EQ(map->folder, L"D:\\光盘");
    std::optional<HiddenRequest> unmap = ParseHiddenRequest({L"/unmap-elevated", L"g:"});
    ASSERT_TRUE(unmap.has_value());
    EXPECT_EQ(unmap->task, HiddenTask::UnmapForElevated);
    EXPECT_EQ(unmap->letter, L"g:");
}

TEST(HiddenRequest, AnythingElseIsNoRequest) {
    const std::vector<std::vector<std::wstring>> bad = {
        {},
        {L"/map-elevated", L"F:"},
        {L"/map-elevated", L"F:", L""},
        {L"/map-elevated", L"F:\\", L"D:\\CD"},
        {L"/map-elevated", L"F:", L"D:\\CD", L"x"},
        {L"/unmap-elevated"},
        {L"/unmap-elevated", L"FF"},
        {L"/unmap-elevated", L"F:", L"D:\\CD"},
        {L"/MAP-ELEVATED", L"F:", L"D:\\CD"},
        {L"D:\\CD"},
    };
    for (const std::vector<std::wstring>& arguments : bad) {
        EXPECT_FALSE(ParseHiddenRequest(arguments).has_value()) << arguments.size();
    }
}

TEST(DecideHiddenStep, MapsOnlyAFreeLetterAndTakesItsOwnMappingAsDone) {
    const HiddenRequest map{HiddenTask::MapForElevated, L"F:", L"D:\\CD"};
    EXPECT_EQ(DecideHiddenStep(map, std::nullopt, true), HiddenStep::Define);
    EXPECT_EQ(DecideHiddenStep(map, L"\\??\\d:\\cd", true), HiddenStep::AlreadyDone);
    EXPECT_EQ(DecideHiddenStep(map, L"\\??\\D:\\CD\\", true), HiddenStep::AlreadyDone);
    EXPECT_EQ(DecideHiddenStep(map, L"\\??\\D:\\CD2", true), HiddenStep::Refuse);
    EXPECT_EQ(DecideHiddenStep(map, L"\\Device\\HarddiskVolume3", true), HiddenStep::Refuse);
    // A folder on a drive only the user's session has would map to nothing.
    EXPECT_EQ(DecideHiddenStep(map, std::nullopt, false), HiddenStep::Refuse);
}

TEST(DecideHiddenStep, UnmapsOnlyAFolderMapping) {
    const HiddenRequest unmap{HiddenTask::UnmapForElevated, L"F:", {}};
    EXPECT_EQ(DecideHiddenStep(unmap, std::nullopt, false), HiddenStep::AlreadyDone);
    EXPECT_EQ(DecideHiddenStep(unmap, L"\\??\\D:\\Other", false), HiddenStep::Remove);
    EXPECT_EQ(DecideHiddenStep(unmap, L"\\Device\\LanmanRedirector\\;F:0\\nas\\share", false), HiddenStep::Refuse);
}

TEST(MessageAfter, SaysWhenElevatedProgramsMissTheChange) {
    for (ElevatedCopy fine : {ElevatedCopy::NotNeeded, ElevatedCopy::Done}) {
        EXPECT_EQ(MessageAfter(HiddenTask::MapForElevated, fine), ResultMessage::Created);
        EXPECT_EQ(MessageAfter(HiddenTask::UnmapForElevated, fine), ResultMessage::Deleted);
    }
    for (ElevatedCopy missed : {ElevatedCopy::Declined, ElevatedCopy::Failed}) {
        EXPECT_EQ(MessageAfter(HiddenTask::MapForElevated, missed), ResultMessage::CreatedNotForElevated);
        EXPECT_EQ(MessageAfter(HiddenTask::UnmapForElevated, missed), ResultMessage::DeletedNotForElevated);
    }
}

}  // namespace
}  // namespace corvel
