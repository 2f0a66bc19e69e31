// The recorder component, which the end-to-end tests and the benchmark put
// into Corvel's Components folder, loaded and asked by the real host.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "catalogue/win32_text.h"
#include "engine/component_host.h"
#include "tests/support/build_tree_path.h"
#include "tests/support/remove_tree.h"
#include "tests/support/test_program_paths.h"

namespace fs = std::filesystem;
using corvel::ComponentHost;
using corvel::testing::Cp936;

namespace {

using Fields = std::map<std::string, std::string>;

// One log line: "call" names it, the other fields are its key=value pairs.
Fields Parse(const std::string& line) {
    Fields fields;
    std::size_t start = 0;
    for (bool first = true; start <= line.size(); first = false) {
        std::size_t tab = line.find('\t', start);
        if (tab == std::string::npos) tab = line.size();
        std::string field = line.substr(start, tab - start);
        std::size_t equals = field.find('=');
        if (first) {
            fields["call"] = field;
        } else if (equals != std::string::npos) {
            fields[field.substr(0, equals)] = field.substr(equals + 1);
        }
        start = tab + 1;
    }
    return fields;
}

std::string Hex(HWND window) {
    char text[32];
    std::snprintf(text, sizeof text, "%llx", static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(window)));
    return text;
}

class RecorderComponentTest : public ::testing::Test {
protected:
    void SetUp() override {
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        root_ = fs::path(temp) / (L"corvel_recorder_" + std::to_wstring(GetCurrentProcessId()));
        corvel::testing::RemoveTree(root_.wstring());
        components_ = root_ / L"程序" / L"Components";
        fs::create_directories(components_);
        log_ = root_ / L"记录.log";
        Set(L"CORVEL_RECORDER_LOG", log_.wstring());
    }

    void TearDown() override {
        for (const std::wstring& variable : variables_) SetEnvironmentVariableW(variable.c_str(), nullptr);
        corvel::testing::RemoveTree(root_.wstring());
    }

    void Set(const std::wstring& variable, const std::wstring& value) {
        SetEnvironmentVariableW(variable.c_str(), value.c_str());
        variables_.push_back(variable);
    }

    void Install(const std::wstring& name = L"Recorder.cpn") {
        fs::copy_file(corvel::testing::FromBuildTree(CORVEL_RECORDER_CPN), components_ / name);
    }

    std::vector<Fields> Log() const {
        std::ifstream in(log_, std::ios::binary);
        std::vector<Fields> lines;
        for (std::string line; std::getline(in, line);) lines.push_back(Parse(line));
        return lines;
    }

    fs::path root_, components_, log_;
    std::vector<std::wstring> variables_;
};

TEST_F(RecorderComponentTest, RecordsEachCallWithItsTextsInUtf8) {
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.lpszClassName = L"CorvelMainFrame";
    RegisterClassW(&windowClass);
    HWND frame = CreateWindowExW(0, L"CorvelMainFrame", L"Corvel", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr,
                                 nullptr, nullptr);
    HWND other = CreateWindowExW(0, L"STATIC", L"x", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(frame && other);
    std::string self = std::to_string(GetCurrentThreadId());
    Install();
    {
        ComponentHost host(frame);
        ASSERT_TRUE(host.LoadAll(Cp936(components_)));
        EXPECT_EQ(host.Dispatch(frame, Cp936(L"中文软件").c_str(), Cp936(L"D:\\软件\\setup.exe").c_str(),
                                "/S /D=50%\tx", Cp936(L"C:\\Program Files\\中文").c_str(), 1),
                  corvel::kDone);
        EXPECT_EQ(host.Dispatch(other, "Second", "E:\\b.reg", "", "", 4), corvel::kDone);
        host.Dispatch(nullptr, "Third", "E:\\c.exe", "", "", 2);
    }
    DestroyWindow(other);
    DestroyWindow(frame);

    std::vector<Fields> log = Log();
    ASSERT_EQ(log.size(), 8u);
    EXPECT_EQ(log[0], (Fields{{"call", "initialize"},
                              {"component", "Recorder"},
                              {"thread", self},
                              {"owner", Hex(frame)},
                              {"owner_kind", "frame"},
                              {"owner_thread", self}}));
    EXPECT_EQ(log[1], (Fields{{"call", "open"},
                              {"component", "Recorder"},
                              {"seq", "1"},
                              {"thread", self},
                              {"owner", Hex(frame)},
                              {"owner_kind", "frame"},
                              {"owner_thread", self},
                              {"item", "中文软件"},
                              {"file", "D:\\软件\\setup.exe"},
                              // A tab (or a line break) must not split the line.
                              {"params", "/S /D=50%25%09x"},
                              {"folder", "C:\\Program Files\\中文"},
                              {"step", "1"},
                              {"answer", "0"}}));
    EXPECT_EQ(log[2],
              (Fields{{"call", "return"}, {"component", "Recorder"}, {"seq", "1"}, {"thread", self}, {"answer", "0"}}));
    EXPECT_EQ(log[3]["owner_kind"], "window");
    EXPECT_EQ(log[3]["seq"], "2");
    EXPECT_EQ(log[3]["params"], "");
    EXPECT_EQ(log[3]["folder"], "");
    EXPECT_EQ(log[3]["step"], "4");
    EXPECT_EQ(log[5]["owner_kind"], "none");
    EXPECT_EQ(log[5]["owner_thread"], "0");
    EXPECT_EQ(log[7], (Fields{{"call", "unload"}, {"component", "Recorder"}, {"thread", self}}));
}

TEST_F(RecorderComponentTest, AnswersFromTheScriptInOrderThenDone) {
    Set(L"CORVEL_RECORDER_ANSWERS", L"2, 4,1,3");
    Install();
    ComponentHost host;
    ASSERT_TRUE(host.LoadAll(Cp936(components_)));
    auto dispatch = [&] { return host.Dispatch(nullptr, "Item", "C:\\setup.exe", "", "", 1); };
    EXPECT_EQ(dispatch(), corvel::kFailed);
    EXPECT_EQ(dispatch(), corvel::kAbandonAll);
    EXPECT_EQ(dispatch(), corvel::kNoComponent);  // "not mine", and no one else to ask
    EXPECT_EQ(dispatch(), corvel::kAbandonItem);
    EXPECT_EQ(dispatch(), corvel::kDone);  // the script is used up
}

TEST_F(RecorderComponentTest, CopiesTakeTheirOwnScriptBeforeTheCommonOne) {
    Set(L"CORVEL_RECORDER_ANSWERS", L"3");
    Set(L"CORVEL_RECORDER_ANSWERS_FIRST", L"1");
    Install(L"First.cpn");
    Install(L"Second.cpn");
    ComponentHost host;
    ASSERT_TRUE(host.LoadOne(Cp936(components_ / L"First.cpn")));
    ASSERT_TRUE(host.LoadOne(Cp936(components_ / L"Second.cpn")));
    EXPECT_EQ(host.Dispatch(nullptr, "Item", "C:\\setup.exe", "", "", 1), corvel::kAbandonItem);

    std::vector<std::string> asked;
    for (Fields& line : Log())
        if (line["call"] == "open") asked.push_back(line["component"] + "=" + line["answer"]);
    EXPECT_EQ(asked, (std::vector<std::string>{"First=1", "Second=3"}));
}

TEST_F(RecorderComponentTest, HoldsTheCallingThreadUntilReleased) {
    std::wstring suffix = std::to_wstring(GetCurrentProcessId());
    std::wstring releaseName = L"CorvelRecorderRelease" + suffix, insideName = L"CorvelRecorderInside" + suffix;
    HANDLE release = CreateEventW(nullptr, TRUE, FALSE, releaseName.c_str());
    HANDLE inside = CreateEventW(nullptr, TRUE, FALSE, insideName.c_str());
    ASSERT_TRUE(release && inside);
    Set(L"CORVEL_RECORDER_BLOCK", releaseName);
    Set(L"CORVEL_RECORDER_BLOCKED", insideName);
    Set(L"CORVEL_RECORDER_ANSWERS", L"4");
    Install();
    ComponentHost host;
    ASSERT_TRUE(host.LoadAll(Cp936(components_)));

    std::atomic<bool> returned{false};
    std::atomic<DWORD> workerId{0};
    int result = -1;
    std::thread worker([&] {
        workerId = GetCurrentThreadId();
        result = host.Dispatch(nullptr, "Item", "C:\\setup.exe", "", "", 1);
        returned = true;
    });
    bool entered = WaitForSingleObject(inside, 15000) == WAIT_OBJECT_0;
    EXPECT_TRUE(entered);
    EXPECT_FALSE(returned);
    // Inside Open: its call is on record, its return not yet.
    std::vector<Fields> log = Log();
    EXPECT_EQ(log.size(), 2u);
    EXPECT_EQ(log.back()["call"], "open");
    EXPECT_EQ(log.back()["thread"], std::to_string(workerId));

    SetEvent(release);
    worker.join();
    EXPECT_EQ(result, corvel::kAbandonAll);
    log = Log();
    // The worker's end is on record too, after its return.
    ASSERT_EQ(log.size(), 4u);
    EXPECT_EQ(log[2]["call"], "return");
    EXPECT_EQ(log[2]["answer"], "4");
    EXPECT_NE(log[2]["thread"], std::to_string(GetCurrentThreadId()));
    EXPECT_EQ(log[3]["call"], "end");
    EXPECT_EQ(log[3]["thread"], std::to_string(workerId));
    CloseHandle(inside);
    CloseHandle(release);
}

}  // namespace
