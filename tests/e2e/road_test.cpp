// The road of one install in the real program, with Tobrin and Maelis in
// Components: the installer through Tobrin's dialog with Ctrl+R typing, the
// patch program, then the settings file imported by Maelis.
#include <sstream>

#include "catalogue/win32_text.h"
#include "tests/e2e/e2e_test_support.h"
#include "tests/e2e/harness/wine_path.h"
#include "tests/support/clipboard_text.h"
#include "tests/support/fixture_package.h"

namespace corvel::e2e {
namespace {

constexpr int kItemNameField = 8000;
constexpr int kTypeField = 8001;
constexpr int kParamsField = 8003;
const std::wstring kTobrinCaption = L"\u5b89\u88c5\u8f6f\u4ef6";              // 安装软件
const std::wstring kMaelisCaption = L"\u6062\u590d\u8f6f\u4ef6\u8bbe\u7f6e";  // 恢复软件设置
const wchar_t kVersionKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion";

std::wstring RegistryText(HKEY root, const wchar_t* key, const wchar_t* value) {
    wchar_t data[1024] = {};
    DWORD size = sizeof data;
    if (RegGetValueW(root, key, value, RRF_RT_REG_SZ, nullptr, data, &size) != ERROR_SUCCESS) return L"<none>";
    return data;
}

class RoadTest : public E2eTest {
protected:
    void SetUp() override {
        E2eTest::SetUp();
        RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\CorvelRoadTest");
    }
    void TearDown() override {
        RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\CorvelRoadTest");
        // A failed step leaves the stand-in installer open, and with it the
        // output pipe that the test runner waits on.
        if (HWND installer = FindWindowW(kInstallerClass, nullptr)) {
            DWORD id = 0;
            GetWindowThreadProcessId(installer, &id);
            if (HANDLE process = OpenProcess(PROCESS_TERMINATE, FALSE, id)) {
                TerminateProcess(process, 1);
                CloseHandle(process);
            }
        }
    }

    std::wstring LayOutFullEdition() {
        folder_.AddComponent(WindowsPathFromBuildPath(TOBRIN_CPN_PATH), L"Tobrin.cpn");
        folder_.AddComponent(WindowsPathFromBuildPath(MAELIS_CPN_PATH), L"Maelis.cpn");
        folder_.InstallProgram(WindowsPathFromBuildPath(INSTALLER_EXE_PATH), L"Setup.exe");
        return LayOut(L"Corvel.exe", false);
    }
    // Presses Install in Tobrin's dialog after checking what it shows.
    HWND InstallThroughTobrin(CorvelProcess& process, const std::wstring& type) {
        HWND dialog = process.WaitForDialog(kTobrinCaption);
        EXPECT_EQ(ControlText(GetDlgItem(dialog, kItemNameField)), L"Road");
        EXPECT_EQ(ControlText(GetDlgItem(dialog, kTypeField)), type);
        PressDialogButton(dialog, IDOK);
        return dialog;
    }
};

TEST_F(RoadTest, InstallerPatchAndSettingsOneAfterAnother) {
    const std::wstring program = LayOutFullEdition();
    const std::string result = Cp936FromWide(folder_.PathOf(L"installed.txt"));
    folder_.WriteFile(L"road.reg",
                      "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\CorvelRoadTest]\r\n\"Value\"=\"ok\"\r\n");
    // 张三||北京公司||ABCD-1234
    folder_.WriteFile(L"Corvel.cvx",
                      Line("[Road]") + Line("<Name=Road\x02SrcPath=Setup.exe /title=RoadInstaller /result=" + result +
                                            "\x02"
                                            "DstDir=C:\\RoadSoft\x02Patch=Setup.exe /autofinish\x02"
                                            "Regcode=\xD5\xC5\xC8\xFD||\xB1\xB1\xBE\xA9\xB9\xAB\xCB\xBE||ABCD-1234\x02"
                                            "Settings=road.reg\x02>"));
    const std::wstring programFilesBefore = RegistryText(HKEY_LOCAL_MACHINE, kVersionKey, L"ProgramFilesDir");
    auto [process, window] = StartShown(program);
    window.SelectItem(0);
    window.Command(kInstall);

    HWND tobrin = InstallThroughTobrin(process, L"\u5b89\u88c5\u7a0b\u5e8f");  // 安装程序
    HWND installer = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (installer = FindReadyInstaller(L"RoadInstaller")) != nullptr; }, kStartTimeout))
        << "the installer did not start";
    EXPECT_EQ(RegistryText(HKEY_LOCAL_MACHINE, kVersionKey, L"ProgramFilesDir"), L"C:\\RoadSoft");

    // The user clicks the first field and presses Ctrl+R.
    HWND first = GetDlgItem(installer, kFirstFieldId);
    ASSERT_TRUE(TypeWithCtrlR(installer, first, GetDlgItem(installer, kFirstFieldId + 2), L"ABCD-1234"));
    PressDialogButton(installer, kFinishId);

    // The installer's end closes the dialog; the patch step follows.
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(tobrin); }, kStartTimeout)) << "Tobrin's dialog stays open";
    std::string reported = folder_.ReadFile(L"installed.txt").value_or("");
    EXPECT_NE(reported.find("field1=\xE5\xBC\xA0\xE4\xB8\x89"), std::string::npos) << reported;  // UTF-8 张三
    EXPECT_NE(reported.find("program_files=C:\\RoadSoft"), std::string::npos) << reported;
    HWND patch = InstallThroughTobrin(process, L"\u8865\u9489\u7a0b\u5e8f");  // 补钉程序
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(patch); }, kStartTimeout)) << "the patch step does not end";

    HWND maelis = process.WaitForDialog(kMaelisCaption);
    PressDialogButton(maelis, IDOK);
    EXPECT_TRUE(WaitUntil(
        [&] { return RegistryText(HKEY_CURRENT_USER, L"Software\\CorvelRoadTest", L"Value") == L"ok"; }, kStartTimeout))
        << "the settings file was not imported";
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(maelis); }, kStepTimeout));
    EXPECT_EQ(RegistryText(HKEY_LOCAL_MACHINE, kVersionKey, L"ProgramFilesDir"), programFilesBefore);
    CloseAfterTheTask(process);
}

// Killed, crashed or out of power while the installer runs: the changed
// ProgramFilesDir outlives the program, and the next start puts it back.
TEST_F(RoadTest, KilledWhileTheInstallerRunsTheNextStartPutsProgramFilesDirBack) {
    const std::wstring program = LayOutFullEdition();
    folder_.WriteFile(L"Corvel.cvx",
                      Line("[Road]") + Line("<Name=Road\x02SrcPath=Setup.exe /title=KilledRunInstaller\x02"
                                            "DstDir=C:\\KilledRunSoft\x02>"));
    const std::wstring programFilesBefore = RegistryText(HKEY_LOCAL_MACHINE, kVersionKey, L"ProgramFilesDir");
    ASSERT_NE(programFilesBefore, L"C:\\KilledRunSoft");
    {
        auto [process, window] = StartShown(program);
        window.SelectItem(0);
        window.Command(kInstall);
        InstallThroughTobrin(process, L"\u5b89\u88c5\u7a0b\u5e8f");  // 安装程序
        ASSERT_TRUE(WaitUntil([&] { return FindReadyInstaller(L"KilledRunInstaller") != nullptr; }, kStartTimeout))
            << "the installer did not start";
        process.Terminate();
        ASSERT_FALSE(process.Running());
    }
    ASSERT_EQ(RegistryText(HKEY_LOCAL_MACHINE, kVersionKey, L"ProgramFilesDir"), L"C:\\KilledRunSoft")
        << "the killed program had no chance to put it back";

    auto [process, window] = StartShown(program);
    EXPECT_EQ(RegistryText(HKEY_LOCAL_MACHINE, kVersionKey, L"ProgramFilesDir"), programFilesBefore);
    EXPECT_EQ(RegistryText(HKEY_LOCAL_MACHINE, kVersionKey, L"CorvelSavedProgramFilesDir"), L"<none>");
    process.Close();
}

TEST_F(RoadTest, MsiPackageRunsThroughMsiexecAndItsEndIsAwaited) {
    testing::UninstallFixturePackage();
    const std::wstring program = LayOutFullEdition();
    folder_.InstallProgram(WindowsPathFromBuildPath(FIXTURE_MSI_PATH), L"Road Package.msi");
    const std::wstring target = folder_.PathOf(L"Programs");
    CreateDirectoryW(target.c_str(), nullptr);
    folder_.WriteFile(L"Corvel.cvx", Line("[Road]") + Line("<Name=Road\x02SrcPath=\"Road Package.msi\"\x02"
                                                           "DstDir=" +
                                                           Cp936FromWide(target) + "\x02>"));
    const std::wstring programFilesBefore = RegistryText(HKEY_LOCAL_MACHINE, kVersionKey, L"ProgramFilesDir");
    auto [process, window] = StartShown(program);
    window.SelectItem(0);
    window.Command(kInstall);

    HWND dialog = process.WaitForDialog(kTobrinCaption);
    EXPECT_EQ(ControlText(GetDlgItem(dialog, kParamsField)), L"/i \"" + folder_.PathOf(L"Road Package.msi") + L"\"");
    PressDialogButton(dialog, IDOK);
    // The dialog closes once msiexec has ended, so the package's file is there.
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }, kStartTimeout)) << "Tobrin's dialog stays open";
    EXPECT_TRUE(folder_.Exists(L"Programs\\" + std::wstring(testing::kFixturePackageFile)));
    EXPECT_EQ(RegistryText(HKEY_LOCAL_MACHINE, kVersionKey, L"ProgramFilesDir"), programFilesBefore);
    CloseAfterTheTask(process);
    testing::UninstallFixturePackage();
}

}  // namespace
}  // namespace corvel::e2e
