// Which files Tobrin takes, what it hands msiexec, and which install folders
// it accepts.
#include <gtest/gtest.h>

#include "components/tobrin/tobrin_rules.h"

namespace corvel::tobrin {
namespace {

TEST(TobrinProgramType, ExtensionDecidesWhateverItsCase) {
    EXPECT_EQ(ProgramTypeOfPath("C:\\Soft\\SETUP.EXE"), ProgramType::Exe);
    EXPECT_EQ(ProgramTypeOfPath("C:\\Soft\\setup.exe"), ProgramType::Exe);
    EXPECT_EQ(ProgramTypeOfPath("C:\\Soft\\Tool.MsI"), ProgramType::Msi);
    EXPECT_EQ(ProgramTypeOfPath("C:\\Soft\\setup.bat"), ProgramType::Other);
    EXPECT_EQ(ProgramTypeOfPath("C:\\Soft\\setup.exe.txt"), ProgramType::Other);
    EXPECT_EQ(ProgramTypeOfPath("C:\\Soft\\setup.exe "), ProgramType::Other);
}

TEST(TobrinProgramType, OnlyTheLastPathComponentCounts) {
    // A dot in a folder name is no extension of the file.
    EXPECT_EQ(ProgramTypeOfPath("C:\\a.exe\\setup"), ProgramType::Other);
    EXPECT_EQ(ProgramTypeOfPath("C:\\a.msi\\setup.exe"), ProgramType::Exe);
    EXPECT_EQ(ProgramTypeOfPath("exe"), ProgramType::Other);
}

TEST(TobrinProgramType, ChineseNamesKeepTheirExtension) {
    // "安装" and "软件" in code page 936; the trail byte 0x5C of 0x81 0x5C
    // is not a backslash.
    EXPECT_EQ(ProgramTypeOfPath("C:\\\xC8\xED\xBC\xFE\\\xB0\xB2\xD7\xB0.EXE"), ProgramType::Exe);
    EXPECT_EQ(ProgramTypeOfPath("C:\\x.msi\\\x81\x5C.exe"), ProgramType::Exe);
    // Case folding must not touch a double-byte character whose trail byte is a letter.
    EXPECT_EQ(ProgramTypeOfPath("C:\\a.\x81"
                                "exe"),
              ProgramType::Other);
}

OpenRequest Request(int stepKind, std::string_view path = "C:\\setup.exe") {
    OpenRequest request;
    request.stepKind = stepKind;
    request.ownerIsWindow = true;
    request.fileExists = true;
    request.textsPresent = true;
    request.filePath = path;
    return request;
}

TEST(TobrinOpen, SettingsStepsAreNotOursWhateverElseIsWrong) {
    OpenRequest request = Request(kSettingsStep);
    request.ownerIsWindow = false;
    request.fileExists = false;
    request.textsPresent = false;
    OpenDecision decision = DecideOpen(request);
    EXPECT_TRUE(decision.answerNow);
    EXPECT_EQ(decision.answer, kNotMine);
}

TEST(TobrinOpen, BadArgumentsFailBeforeTheExtensionIsLookedAt) {
    for (auto spoil : {&OpenRequest::ownerIsWindow, &OpenRequest::fileExists, &OpenRequest::textsPresent}) {
        OpenRequest request = Request(kInstallerStep, "C:\\setup.bat");
        request.*spoil = false;
        OpenDecision decision = DecideOpen(request);
        EXPECT_TRUE(decision.answerNow);
        EXPECT_EQ(decision.answer, kFailed);
    }
}

TEST(TobrinOpen, InstallerAndPatchStepsTakeExeAndMsiOnly) {
    for (int step : {kInstallerStep, kPatchStep}) {
        OpenDecision exe = DecideOpen(Request(step, "C:\\SETUP.EXE"));
        EXPECT_FALSE(exe.answerNow);
        EXPECT_EQ(exe.type, ProgramType::Exe);
        OpenDecision msi = DecideOpen(Request(step, "C:\\tool.msi"));
        EXPECT_FALSE(msi.answerNow);
        EXPECT_EQ(msi.type, ProgramType::Msi);
        OpenDecision bat = DecideOpen(Request(step, "C:\\setup.bat"));
        EXPECT_TRUE(bat.answerNow);
        EXPECT_EQ(bat.answer, kNotMine);
    }
}

TEST(TobrinOpen, LabelIsThePatchOneForAnythingButTheInstallerStep) {
    EXPECT_TRUE(IsInstallerLabel(kInstallerStep));
    EXPECT_FALSE(IsInstallerLabel(kPatchStep));
    // A combined step is still a patch run for the label.
    EXPECT_FALSE(IsInstallerLabel(kInstallerStep | kPatchStep));
}

TEST(TobrinMsiParameters, InstallSwitchQuotedPathThenParameters) {
    EXPECT_EQ(MsiParameterText("/qb", "C:\\Setup\\tool.msi"), "/i \"C:\\Setup\\tool.msi\" /qb");
    EXPECT_EQ(MsiParameterText("", "C:\\Setup\\tool.msi"), "/i \"C:\\Setup\\tool.msi\"");
    EXPECT_EQ(MsiParameterText("/qn TARGETDIR=\"D:\\A B\"", "C:\\My Setup\\t.msi"),
              "/i \"C:\\My Setup\\t.msi\" /qn TARGETDIR=\"D:\\A B\"");
}

TEST(TobrinInstallFolder, EmptyOrAbsoluteIsAccepted) {
    EXPECT_TRUE(InstallFolderAcceptable(""));
    EXPECT_TRUE(InstallFolderAcceptable("D:\\Soft"));
    EXPECT_TRUE(InstallFolderAcceptable("D:\\"));
    EXPECT_TRUE(InstallFolderAcceptable("   D:\\Soft"));
    EXPECT_TRUE(InstallFolderAcceptable("D:\\\xC8\xED\xBC\xFE"));
}

TEST(TobrinInstallFolder, EverythingElseIsRefused) {
    EXPECT_FALSE(InstallFolderAcceptable("D:"));
    EXPECT_FALSE(InstallFolderAcceptable("D:Soft"));
    EXPECT_FALSE(InstallFolderAcceptable("Soft"));
    EXPECT_FALSE(InstallFolderAcceptable("\\Soft"));
    EXPECT_FALSE(InstallFolderAcceptable("   "));
    EXPECT_FALSE(InstallFolderAcceptable("\\\\server\\share"));
    EXPECT_FALSE(InstallFolderAcceptable("D:\\Soft\\..\\x"));
    EXPECT_FALSE(InstallFolderAcceptable("D:\\con\\x"));
}

TEST(TobrinFolderValues, TheKeptOriginalHasANameOfItsOwnPerValue) {
    // A later run finds what a dead one kept under this name.
    EXPECT_EQ(KeptValueName(L"ProgramFilesDir"), L"CorvelSavedProgramFilesDir");
    EXPECT_NE(KeptValueName(L"ProgramFilesDir"), KeptValueName(L"ProgramFilesDir (x86)"));
}

TEST(TobrinFolderValues, OnlyAnOriginalWorthPuttingBackIsKeptAndAnEarlierOneIsNeverReplaced) {
    const std::wstring chosen = L"D:\\Chosen";
    for (bool create : {true, false}) {
        SCOPED_TRACE(create);
        EXPECT_EQ(KeepStepFor({L"C:\\Program Files", false}, chosen, create), KeepStep::KeepCurrent);
        // The current value is then what the earlier change wrote.
        EXPECT_EQ(KeepStepFor({L"D:\\Other", true}, chosen, create), KeepStep::AlreadyKept);
        EXPECT_EQ(KeepStepFor({std::nullopt, true}, chosen, create), KeepStep::AlreadyKept);
        EXPECT_EQ(KeepStepFor({L"", false}, chosen, create), KeepStep::NothingToKeep);
    }
}

TEST(TobrinFolderValues, AMissingValueIsWrittenOnlyWhereCreatingItIsAllowed) {
    EXPECT_EQ(KeepStepFor({std::nullopt, false}, L"D:\\Chosen", true), KeepStep::NothingToKeep);
    EXPECT_EQ(KeepStepFor({std::nullopt, false}, L"D:\\Chosen", false), KeepStep::LeaveAlone);
}

TEST(TobrinFolderValues, TheSameKeyMetTwiceKeepsTheTrueOriginal) {
    // On 32-bit Windows both views are one key: the second pass finds the
    // first pass's work and must not keep the chosen folder as the original.
    const std::wstring chosen = L"D:\\Chosen";
    EXPECT_EQ(KeepStepFor({chosen, true}, chosen, true), KeepStep::AlreadyKept);
    // A value the first pass created or filled, with nothing kept.
    EXPECT_EQ(KeepStepFor({chosen, false}, chosen, true), KeepStep::NothingToKeep);
    // Only the exact text is the same: a folder differing in case is a change.
    EXPECT_EQ(KeepStepFor({L"d:\\chosen", false}, chosen, true), KeepStep::KeepCurrent);
}

}  // namespace
}  // namespace corvel::tobrin
