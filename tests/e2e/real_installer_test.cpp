// Real installers through Tobrin in the real program: NSIS setups of both
// targets, typed into with Ctrl+R, and MSI packages of both architectures
// with parameters, each proposing or taking the install folder chosen in
// Tobrin's dialog.
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "catalogue/win32_text.h"
#include "tests/e2e/e2e_test_support.h"
#include "tests/e2e/harness/wine_path.h"
#include "tests/support/fixture_package.h"

namespace corvel::e2e {
namespace {

const std::wstring kTobrinCaption = L"\u5b89\u88c5\u8f6f\u4ef6";  // 安装软件
const wchar_t kVersionKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion";
// 张三||北京公司||ABCD-1234 in code page 936, as the catalogue holds it.
const char kRegcode[] = "\xD5\xC5\xC8\xFD||\xB1\xB1\xBE\xA9\xB9\xAB\xCB\xBE||ABCD-1234";
const std::wstring kSegments[] = {L"\u5f20\u4e09", L"\u5317\u4eac\u516c\u53f8", L"ABCD-1234"};
// The target folder, with a blank and Chinese as users' folders have.
const std::wstring kTarget = L"\u7a0b\u5e8f \u76ee\u6807";  // 程序 目标

std::wstring ProgramFilesDir() {
    wchar_t data[1024] = {};
    DWORD size = sizeof data;
    if (RegGetValueW(HKEY_LOCAL_MACHINE, kVersionKey, L"ProgramFilesDir", RRF_RT_REG_SZ, nullptr, data, &size) !=
        ERROR_SUCCESS)
        return L"<none>";
    return data;
}

// 64-bit installers need a 64-bit system (the i686 build may run in a 32-bit one).
bool Is64BitSystem() {
    SYSTEM_INFO info = {};
    GetNativeSystemInfo(&info);
    return info.wProcessorArchitecture == PROCESSOR_ARCHITECTURE_AMD64;
}

// Whether this system starts 32-bit programs: a 64-bit Wine without its
// 32-bit half refuses to create the process.
bool Starts32BitPrograms(const std::wstring& program) {
    std::wstring command = L"\"" + program + L"\"";
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr, nullptr,
                        &startup, &process))
        return false;
    TerminateProcess(process.hProcess, 0);
    WaitForSingleObject(process.hProcess, 10000);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

// The NSIS setup's window with its three registration fields, or null while
// the page is not built yet.
struct NsisPage {
    HWND window = nullptr;
    std::vector<HWND> fields;
};

BOOL CALLBACK CollectEdit(HWND child, LPARAM param) {
    if (ClassName(child) == L"Edit" && IsWindowVisible(child)) reinterpret_cast<std::vector<HWND>*>(param)->push_back(child);
    return TRUE;
}

NsisPage FindNsisPage(const std::wstring& caption) {
    NsisPage page;
    page.window = FindWindowW(L"#32770", caption.c_str());
    if (page.window) EnumChildWindows(page.window, CollectEdit, reinterpret_cast<LPARAM>(&page.fields));
    if (page.fields.size() != 3) page = {};
    return page;
}

// The setup's result file: UTF-16 key=value lines after a byte order mark.
std::map<std::wstring, std::wstring> ReadSetupResult(const std::string& bytes) {
    std::wstring text;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2)
        text += static_cast<wchar_t>(static_cast<unsigned char>(bytes[i]) | static_cast<unsigned char>(bytes[i + 1]) << 8);
    if (!text.empty() && text[0] == 0xFEFF) text.erase(0, 1);
    std::map<std::wstring, std::wstring> values;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find(L"\r\n", start)) != std::wstring::npos; start = end + 2) {
        std::wstring line = text.substr(start, end - start);
        auto equals = line.find(L'=');
        if (equals != std::wstring::npos) values[line.substr(0, equals)] = line.substr(equals + 1);
    }
    return values;
}

class RealInstallerTest : public E2eTest {
protected:
    void TearDown() override {
        // A failed step leaves the setup open, and with it the output pipe
        // that the test runner waits on.
        for (const wchar_t* caption : {L"CorvelNsisSetup-x86", L"CorvelNsisSetup-amd64"})
            if (HWND setup = FindWindowW(L"#32770", caption)) {
                DWORD id = 0;
                GetWindowThreadProcessId(setup, &id);
                if (HANDLE process = OpenProcess(PROCESS_TERMINATE, FALSE, id)) {
                    TerminateProcess(process, 1);
                    CloseHandle(process);
                }
            }
    }

    // Corvel with Tobrin, one item for the installer copied in as name, the
    // install folder kTarget; the Install command is given.
    CorvelProcess& StartInstall(const std::wstring& source, const std::wstring& name, const std::string& params) {
        folder_.AddComponent(WindowsPathFromBuildPath(TOBRIN_CPN_PATH), L"Tobrin.cpn");
        folder_.InstallProgram(source, name);
        CreateDirectoryW(folder_.PathOf(kTarget).c_str(), nullptr);
        folder_.WriteFile(L"Corvel.cvx", Line("[Real]") + Line("<Name=Real\x02SrcPath=\"" + Cp936FromWide(name) +
                                                               "\"" + params + "\x02" + "DstDir=" +
                                                               Cp936FromWide(folder_.PathOf(kTarget)) + "\x02" +
                                                               "Regcode=" + kRegcode + "\x02>"));
        programFilesBefore_ = ProgramFilesDir();
        auto [process, window] = StartShown(LayOut(L"Corvel.exe", false));
        window.SelectItem(0);
        window.Command(kInstall);
        return process;
    }

    void RunNsisSetup(const std::wstring& setup, const std::wstring& arch) {
        CorvelProcess& process = StartInstall(setup, L"setup-" + arch + L".exe", "");
        HWND tobrin = process.WaitForDialog(kTobrinCaption);
        PressDialogButton(tobrin, IDOK);
        NsisPage page;
        ASSERT_TRUE(WaitUntil([&] { return (page = FindNsisPage(L"CorvelNsisSetup-" + arch)).window != nullptr; },
                              kStartTimeout))
            << "the setup's registration page did not show";
        EXPECT_EQ(ProgramFilesDir(), folder_.PathOf(kTarget));

        ASSERT_TRUE(TypeWithCtrlR(page.window, page.fields[0], page.fields[2], kSegments[2]));
        for (int i = 0; i < 3; ++i) EXPECT_EQ(ControlText(page.fields[i]), kSegments[i]) << "field " << i + 1;
        PressDialogButton(page.window, IDOK);  // Next: the setup installs and closes

        ASSERT_TRUE(WaitUntil([&] { return !IsWindow(tobrin); }, kStartTimeout)) << "Tobrin's dialog stays open";
        auto result = ReadSetupResult(folder_.ReadFile(L"setup-result.txt").value_or(""));
        for (int i = 0; i < 3; ++i) EXPECT_EQ(result[L"field" + std::to_wstring(i + 1)], kSegments[i]);
        EXPECT_EQ(result[L"instdir"], folder_.PathOf(kTarget + L"\\CorvelNsis"))
            << "the setup proposed another folder than the one chosen";
        EXPECT_EQ(ProgramFilesDir(), programFilesBefore_);
        CloseAfterTheTask(process);
    }

    void InstallPackage(const std::wstring& package) {
        testing::UninstallFixturePackage();
        CorvelProcess& process = StartInstall(package, L"Real Package.msi", " /qn");
        HWND tobrin = process.WaitForDialog(kTobrinCaption);
        PressDialogButton(tobrin, IDOK);
        // The dialog closes once msiexec has ended, so the package's file is there.
        ASSERT_TRUE(WaitUntil([&] { return !IsWindow(tobrin); }, kStartTimeout)) << "Tobrin's dialog stays open";
        EXPECT_TRUE(folder_.Exists(kTarget + L"\\" + testing::kFixturePackageFile))
            << "the package was not installed under the chosen folder";
        EXPECT_EQ(ProgramFilesDir(), programFilesBefore_);
        CloseAfterTheTask(process);
        testing::UninstallFixturePackage();
    }

    std::wstring programFilesBefore_;
};

#ifdef NSIS_SETUP_AMD64_PATH
TEST_F(RealInstallerTest, NsisSetup64TakesTheTypedSegmentsAndProposesTheChosenFolder) {
    if (!Is64BitSystem()) GTEST_SKIP() << "a 64-bit setup cannot run on this 32-bit system";
    RunNsisSetup(WindowsPathFromBuildPath(NSIS_SETUP_AMD64_PATH), L"amd64");
}

TEST_F(RealInstallerTest, NsisSetup32TakesTheTypedSegmentsAndProposesTheChosenFolder) {
    const std::wstring setup = WindowsPathFromBuildPath(NSIS_SETUP_X86_PATH);
    if (!Starts32BitPrograms(setup)) GTEST_SKIP() << "32-bit programs cannot run on this system (under Wine: wine32 is missing)";
    RunNsisSetup(setup, L"x86");
}
#else
TEST_F(RealInstallerTest, NsisSetups) {
    GTEST_SKIP() << "makensis was not found when the tests were built";
}
#endif

TEST_F(RealInstallerTest, MsiPackage64WithParametersLandsUnderTheChosenFolder) {
    if (!Is64BitSystem()) GTEST_SKIP() << "a 64-bit package cannot be installed on this 32-bit system";
    InstallPackage(WindowsPathFromBuildPath(FIXTURE_MSI_X64_PATH));
}

TEST_F(RealInstallerTest, MsiPackage32WithParametersLandsUnderTheChosenFolder) {
    InstallPackage(WindowsPathFromBuildPath(FIXTURE_MSI_X86_PATH));
}

}  // namespace
}  // namespace corvel::e2e
