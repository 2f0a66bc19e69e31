// The host against real libraries: copies of the probe component, which logs
// every call (and its own release) and answers as the environment says.
#include "engine/component_host.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "catalogue/long_path.h"
#include "catalogue/shell/shell_files.h"
#include "catalogue/win32_text.h"
#include "tests/support/remove_tree.h"
#include "tests/support/test_program_paths.h"

namespace fs = std::filesystem;
using corvel::ComponentHost;

namespace {

using corvel::testing::Cp936;
using corvel::testing::ExeFolder;

class ComponentHostTest : public ::testing::Test {
protected:
    void SetUp() override {
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        root_ = fs::path(temp) / (L"corvel_host_" + std::to_wstring(GetCurrentProcessId()));
        fs::remove_all(root_);
        fs::create_directories(root_);
        log_ = root_ / L"calls.log";
        SetEnvironmentVariableW(L"CORVEL_PROBE_LOG", log_.c_str());
    }

    void TearDown() override {
        for (const std::wstring& variable : variables_) SetEnvironmentVariableW(variable.c_str(), nullptr);
        SetEnvironmentVariableW(L"CORVEL_PROBE_LOG", nullptr);
        std::error_code ignored;
        fs::remove_all(root_, ignored);
    }

    // Copies a built test component into folder under name ("A.cpn" logs as "A").
    fs::path Put(const fs::path& folder, const std::wstring& name, const wchar_t* built = L"probe.cpn") {
        fs::create_directories(folder);
        fs::copy_file(ExeFolder() / built, folder / name, fs::copy_options::overwrite_existing);
        return folder / name;
    }

    void Answer(const std::wstring& name, const wchar_t* what, int value) {
        std::wstring variable = L"CORVEL_PROBE_" + name + what;
        SetEnvironmentVariableW(variable.c_str(), std::to_wstring(value).c_str());
        variables_.push_back(variable);
    }

    std::vector<std::string> Log() const {
        std::ifstream in(log_, std::ios::binary);
        std::vector<std::string> lines;
        for (std::string line; std::getline(in, line);) lines.push_back(line);
        return lines;
    }

    // Loads Put copies named in order, each answering Open with its value.
    void LoadInOrder(ComponentHost& host, const std::vector<std::pair<std::wstring, int>>& answers) {
        for (const auto& [name, answer] : answers) {
            Answer(name, L"_OPEN", answer);
            ASSERT_TRUE(host.LoadOne(Cp936(Put(root_ / L"Components", name + L".cpn"))));
        }
        fs::remove(log_);
    }

    int DispatchInstaller(ComponentHost& host) {
        return host.Dispatch(nullptr, "Item", "C:\\Soft\\setup.exe", "/S", "C:\\Program Files\\Soft", 1);
    }

    fs::path root_;
    fs::path log_;
    std::vector<std::wstring> variables_;
};

using Lines = std::vector<std::string>;

TEST_F(ComponentHostTest, LoadAllNeedsAnExistingFolderWithAnAcceptedComponent) {
    ComponentHost host;
    EXPECT_FALSE(host.LoadAll(Cp936(root_ / L"missing")));
    EXPECT_FALSE(host.LoadAll(""));

    // A folder named like a component is not one.
    fs::create_directories(root_ / L"only_folder" / L"x.cpn");
    EXPECT_FALSE(host.LoadAll(Cp936(root_ / L"only_folder")));

    // Neither a text file nor a library without Open is used; the latter is still told to unload.
    fs::path unusable = root_ / L"unusable";
    fs::create_directories(unusable);
    fs::copy_file(ExeFolder() / L"not_a_library.cpn", unusable / L"text.cpn");
    Put(unusable, L"NOOPEN.cpn", L"probe_no_open.cpn");
    EXPECT_FALSE(host.LoadAll(Cp936(unusable)));
    EXPECT_EQ(host.Count(), 0u);
    EXPECT_EQ(Log(), (Lines{"NOOPEN PreUnloadDll", "NOOPEN Detach"}));
}

TEST_F(ComponentHostTest, LoadAllTakesOnlyCpnFilesAndSurvivesBadOnes) {
    // A Chinese folder name checks the code page 936 path handling.
    fs::path folder = root_ / L"组件";
    Put(folder, L"A.cpn");
    Put(folder, L"B.cpn");
    Put(folder, L"C.dll");
    // Its short name ("QUARRO~1.CPN") matches "*.cpn" too.
    Put(folder, L"Quarro.cpn_old");
    fs::copy_file(ExeFolder() / L"not_a_library.cpn", folder / L"broken.cpn");
    fs::create_directories(folder / L"sub.cpn");

    ComponentHost host;
    EXPECT_TRUE(host.LoadAll(Cp936(folder) + "\\"));
    EXPECT_EQ(host.Count(), 2u);
    Lines log = Log();
    std::sort(log.begin(), log.end());  // the file system decides the order
    EXPECT_EQ(log, (Lines{"A Initialize 0", "B Initialize 0"}));
}

TEST_F(ComponentHostTest, LoadsFromAFolderPastMaxPath) {
    // A program folder on a CD copied deep into a disk: its Components folder
    // lies past MAX_PATH.
    fs::path top = root_ / L"深层";
    std::wstring deep = top.wstring();
    while (deep.size() <= 300) deep += L"\\程序目录_abcdefghijklmnopqrstuvwxyz_0123456789";
    deep += L"\\Components";
    ASSERT_TRUE(corvel::CreateFolderPath(Cp936(deep)));
    ASSERT_TRUE(
        CopyFileW((ExeFolder() / L"probe.cpn").c_str(), corvel::LongPathFromWide(deep + L"\\DEEP.cpn").c_str(), FALSE));
    Answer(L"DEEP", L"_OPEN", 2);
    {
        ComponentHost host;
        EXPECT_TRUE(host.LoadAll(Cp936(deep)));
        EXPECT_EQ(host.Count(), 1u);
        EXPECT_EQ(DispatchInstaller(host), corvel::kFailed);
    }
    EXPECT_EQ(Log(), (Lines{"DEEP Initialize 0", "DEEP Open 0|Item|C:\\Soft\\setup.exe|/S|C:\\Program Files\\Soft|1",
                            "DEEP PreUnloadDll", "DEEP Detach"}));
    corvel::testing::RemoveTree(corvel::LongPathFromWide(top.wstring()));
}

TEST_F(ComponentHostTest, InitializeDecidesAcceptance) {
    HWND frame =
        CreateWindowExW(0, L"STATIC", L"frame", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(frame, nullptr);
    char handle[32];
    std::snprintf(handle, sizeof handle, "%llx", static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(frame)));
    {
        ComponentHost host(frame);
        Answer(L"REFUSED", L"_INIT", 0);
        fs::path refused = Put(root_, L"REFUSED.cpn");
        EXPECT_FALSE(host.LoadOne(Cp936(refused)));
        // Told to unload before it is released, and then really released.
        EXPECT_EQ(Log(),
                  (Lines{"REFUSED Initialize " + std::string(handle), "REFUSED PreUnloadDll", "REFUSED Detach"}));
        EXPECT_EQ(GetModuleHandleW(refused.c_str()), nullptr);

        fs::remove(log_);
        Answer(L"WILLING", L"_INIT", 5);
        EXPECT_TRUE(host.LoadOne(Cp936(Put(root_, L"WILLING.cpn"))));
        EXPECT_TRUE(host.LoadOne(Cp936(Put(root_, L"NOINIT.cpn", L"probe_no_initialize.cpn"))));
        EXPECT_EQ(Log(), (Lines{"WILLING Initialize " + std::string(handle)}));
        EXPECT_EQ(host.Count(), 2u);

        EXPECT_FALSE(host.LoadOne(""));
        EXPECT_FALSE(host.LoadOne(Cp936(root_ / L"absent.cpn")));
        EXPECT_EQ(host.Count(), 2u);
    }
    DestroyWindow(frame);
}

TEST_F(ComponentHostTest, DispatchAsksInLoadOrderUntilOneTakesTheFile) {
    ComponentHost empty;
    EXPECT_EQ(DispatchInstaller(empty), corvel::kNoComponent);

    ComponentHost allDecline;
    LoadInOrder(allDecline, {{L"A", 1}, {L"B", 1}, {L"C", 1}});
    EXPECT_EQ(DispatchInstaller(allDecline), corvel::kNoComponent);
    EXPECT_EQ(Log(), (Lines{"A Open 0|Item|C:\\Soft\\setup.exe|/S|C:\\Program Files\\Soft|1",
                            "B Open 0|Item|C:\\Soft\\setup.exe|/S|C:\\Program Files\\Soft|1",
                            "C Open 0|Item|C:\\Soft\\setup.exe|/S|C:\\Program Files\\Soft|1"}));

    // Unknown answers count as "not mine".
    for (int answer : {2, 3, 4}) {
        ComponentHost host;
        LoadInOrder(host, {{L"D", 7}, {L"E", -1}, {L"F", answer}, {L"G", 0}});
        EXPECT_EQ(DispatchInstaller(host), answer);
        EXPECT_EQ(Log().size(), 3u) << "G must not be asked after F answered " << answer;
    }
}

TEST_F(ComponentHostTest, DoneEndsTheDispatchAndPassesTextsUnchanged) {
    ComponentHost host;
    LoadInOrder(host, {{L"H", 0}, {L"I", 0}});
    // 安装 in code page 936, an empty parameter text, the settings step.
    const char* item = "\xB0\xB2\xD7\xB0";
    HWND owner = reinterpret_cast<HWND>(static_cast<UINT_PTR>(0x1234));
    EXPECT_EQ(host.Dispatch(owner, item, "D:\\a.reg", "", "", 4), corvel::kDone);
    EXPECT_EQ(Log(), (Lines{std::string("H Open 1234|") + item + "|D:\\a.reg|||4"}));
}

TEST_F(ComponentHostTest, MissingTextEndsTheDispatchAsDoneWithoutAskingAnyone) {
    ComponentHost host;
    LoadInOrder(host, {{L"J", 2}});
    EXPECT_EQ(host.Dispatch(nullptr, nullptr, "f", "", "", 1), corvel::kDone);
    EXPECT_EQ(host.Dispatch(nullptr, "n", nullptr, "", "", 1), corvel::kDone);
    EXPECT_EQ(host.Dispatch(nullptr, "n", "f", nullptr, "", 1), corvel::kDone);
    EXPECT_EQ(host.Dispatch(nullptr, "n", "f", "", nullptr, 1), corvel::kDone);
    EXPECT_TRUE(Log().empty());
    EXPECT_EQ(host.Dispatch(nullptr, "n", "f", "", "", 1), corvel::kFailed);
}

TEST_F(ComponentHostTest, UnloadReleasesInLoadOrderOnce) {
    fs::path first;
    {
        ComponentHost host;
        LoadInOrder(host, {{L"K", 1}, {L"L", 1}});
        first = root_ / L"Components" / L"K.cpn";
        ASSERT_NE(GetModuleHandleW(first.c_str()), nullptr);

        host.UnloadAll();
        EXPECT_EQ(Log(), (Lines{"K PreUnloadDll", "K Detach", "L PreUnloadDll", "L Detach"}));
        EXPECT_EQ(GetModuleHandleW(first.c_str()), nullptr);
        EXPECT_EQ(host.Count(), 0u);
        EXPECT_EQ(DispatchInstaller(host), corvel::kNoComponent);

        fs::remove(log_);
        host.UnloadAll();
        EXPECT_TRUE(Log().empty());

        // The destructor releases what is still loaded.
        LoadInOrder(host, {{L"M", 1}});
    }
    EXPECT_EQ(Log(), (Lines{"M PreUnloadDll", "M Detach"}));
}

}  // namespace
