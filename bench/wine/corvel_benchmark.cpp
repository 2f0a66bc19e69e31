// Times the built Corvel.exe as a user meets it: start-up until the main
// window shows the first category's entries, and switching to a large
// category. Prints median and minimum of several runs and their ratios.
#include <windows.h>

#include <commctrl.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "tests/e2e/harness/corvel_process.h"
#include "tests/e2e/harness/main_window.h"
#include "tests/e2e/harness/polling.h"
#include "tests/e2e/harness/program_folder.h"
#include "tests/e2e/harness/wine_path.h"

using namespace corvel::e2e;

namespace {

int g_runs = 5;
// Empty: every section; otherwise only the named one (start, switch, edit,
// install, check, scale) beside the empty start-up that every ratio is taken against.
std::string g_only;
// The number of categories of the scale section's start-up.
int g_categories = 10000;
// Another build of Corvel.exe to time (a Linux or Windows path), e.g. an
// older one kept for comparison.
std::string g_program;
std::string g_quarro;  // the i686 Corvel.exe needs the i686 Quarro.cpn

bool Wanted(const char* section) {
    return g_only.empty() || g_only == section;
}

double Now() {
    static const double frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return static_cast<double>(f.QuadPart);
    }();
    LARGE_INTEGER c;
    QueryPerformanceCounter(&c);
    return static_cast<double>(c.QuadPart) * 1000.0 / frequency;
}

struct Stats {
    double median = 0;
    double min = 0;
    std::vector<double> all;
};

Stats Summarise(std::vector<double> samples) {
    Stats stats;
    stats.all = samples;
    std::sort(samples.begin(), samples.end());
    stats.min = samples.front();
    const std::size_t n = samples.size();
    stats.median = n % 2 ? samples[n / 2] : (samples[n / 2 - 1] + samples[n / 2]) / 2;
    return stats;
}

std::string Line(const std::string& text) {
    return text + "\r\n";
}

std::string ItemLine(const std::string& name, const std::string& installer) {
    // Separate literals: a hex digit after \x02 would join the escape.
    return Line("<Name=" + name +
                "\x02"
                "SrcPath=" +
                installer +
                "\x02"
                ">");
}

std::string Padded(int value, int width) {
    std::string text = std::to_string(value);
    return std::string(width > static_cast<int>(text.size()) ? width - text.size() : 0, '0') + text;
}

std::wstring Wide(const std::string& ascii) {
    return std::wstring(ascii.begin(), ascii.end());
}

// A program folder with Corvel, Quarro and installers made on request.
class Bench {
public:
    Bench()
        : corvel_(WindowsPathFromBuildPath(g_program.empty() ? CORVEL_EXE_PATH : g_program)),
          quarro_(WindowsPathFromBuildPath(g_quarro.empty() ? QUARRO_CPN_PATH : g_quarro)),
          installer_(WindowsPathFromBuildPath(INSTALLER_EXE_PATH)) {}

    // A fresh folder holding the program and catalogue (empty: no file).
    // With recorder the recording component stands in for Quarro.
    std::unique_ptr<ProgramFolder> Folder(const std::string& catalogue, bool recorder = false) {
        auto folder = std::make_unique<ProgramFolder>();
        if (recorder)
            folder->AddComponent(WindowsPathFromBuildPath(RECORDER_CPN_PATH), L"Recorder.cpn");
        else
            folder->AddComponent(quarro_, L"Quarro.cpn");
        folder->InstallProgram(corvel_, L"Corvel.exe");
        if (!catalogue.empty()) folder->WriteFile(L"Corvel.cvx", catalogue);
        return folder;
    }

    // Installer at relative path; hard links keep 10,000 of them small.
    void AddInstaller(ProgramFolder& folder, const std::string& relative) {
        const std::wstring target = folder.PathOf(Wide(relative));
        // Each folder on the way, below the program folder.
        for (std::size_t slash = folder.Path().size() + 1; (slash = target.find(L'\\', slash)) != std::wstring::npos;
             ++slash)
            CreateDirectoryW(target.substr(0, slash).c_str(), nullptr);
        if (!first_link_.empty() && first_folder_ == folder.Path() &&
            CreateHardLinkW(target.c_str(), first_link_.c_str(), nullptr)) {
            ++links_;
            return;
        }
        if (!CopyFileW(installer_.c_str(), target.c_str(), FALSE))
            throw HarnessError("cannot copy the installer to " + relative);
        ++copies_;
        first_link_ = target;
        first_folder_ = folder.Path();
    }

    std::wstring Program(const ProgramFolder& folder) const { return folder.PathOf(L"Corvel.exe"); }

    int links_ = 0;
    int copies_ = 0;

private:
    std::wstring corvel_, quarro_, installer_;
    std::wstring first_link_;
    std::wstring first_folder_;
};

void WaitNoInstance() {
    // A previous run still ending would make the next one end at once.
    if (!WaitUntil([] { return !CorvelInstanceRunning(); }, kStepTimeout))
        throw HarnessError("a Corvel instance is still running");
}

// The harness gives up after 10 s; a slow switch may take longer. A program
// busy for more than 5 s counts as hung, so the message waits for it instead.
LRESULT SendPatiently(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(window, message, wParam, lParam, SMTO_NORMAL, 300000, &result))
        throw HarnessError("the program does not answer message " + std::to_string(message));
    return static_cast<LRESULT>(result);
}

HWND FindMainWindow(const CorvelProcess& process) {
    for (HWND window : process.Windows(true))
        if (ClassName(window) == kMainWindowClass) return window;
    return nullptr;
}

// Polls condition with a short sleep; returns the time it first held.
double PollUntil(const std::function<bool()>& condition, double timeout_ms, const char* what) {
    const double start = Now();
    for (;;) {
        if (condition()) return Now();
        if (Now() - start > timeout_ms) throw HarnessError(std::string("timeout waiting for ") + what);
        Sleep(1);
    }
}

void Shut(CorvelProcess& process) {
    try {
        process.Close(seconds(30));
    } catch (const std::exception&) {
        process.Terminate();
    }
}

// One start: CreateProcess until the main window is visible and its list
// holds expected entries. Leaves the process running for the caller.
// With tabs >= 0 the tab strip must also hold that many tabs.
double TimeStart(std::unique_ptr<CorvelProcess>& process, const Bench& bench, const ProgramFolder& folder, int expected,
                 HWND* frame, int tabs = -1) {
    WaitNoInstance();
    const double start = Now();
    process = std::make_unique<CorvelProcess>(bench.Program(folder), folder.Path());
    HWND main = nullptr;
    const double end = PollUntil(
        [&] {
            if (!process->Running()) throw HarnessError("Corvel ended during start-up");
            if (!main) main = FindMainWindow(*process);
            if (!main) return false;
            const MainWindow window(main, process->Handle());
            if (tabs >= 0 && SendPatiently(window.Control(kTabStripId), TCM_GETITEMCOUNT) != tabs) return false;
            return SendPatiently(window.Control(kItemListId), LVM_GETITEMCOUNT) == expected;
        },
        600000, "the main window and its entries");
    *frame = main;
    return end - start;
}

Stats MeasureStart(Bench& bench, const ProgramFolder& folder, int expected) {
    std::vector<double> samples;
    for (int run = -1; run < g_runs; ++run) {  // run -1 warms Wine's caches
        std::unique_ptr<CorvelProcess> process;
        HWND frame = nullptr;
        const double ms = TimeStart(process, bench, folder, expected, &frame);
        Shut(*process);
        std::fprintf(stderr, "  start run %d: %.0f ms\n", run, ms);
        if (run >= 0) samples.push_back(ms);
    }
    return Summarise(samples);
}

double WorkingSetMb(HANDLE process, bool peak) {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    if (!GetProcessMemoryInfo(process, &counters, sizeof counters)) throw HarnessError("no memory counters");
    return static_cast<double>(peak ? counters.PeakWorkingSetSize : counters.WorkingSetSize) / (1024.0 * 1024.0);
}

// Start-up as above and the working set then, and the exit command until
// the process has ended.
struct StartClose {
    Stats start;
    Stats close;
    Stats workingSet;
};

StartClose MeasureStartClose(Bench& bench, const ProgramFolder& folder, int expected, int tabs) {
    std::vector<double> starts, closes, memory;
    for (int run = -1; run < g_runs; ++run) {
        std::unique_ptr<CorvelProcess> process;
        HWND frame = nullptr;
        const double start = TimeStart(process, bench, folder, expected, &frame, tabs);
        const double workingSet = WorkingSetMb(process->Handle(), false);
        const double closing = Now();
        PostCommand(frame, kExitCommand);
        if (WaitForSingleObject(process->Handle(), 600000) != WAIT_OBJECT_0) throw HarnessError("Corvel did not end");
        const double close = Now() - closing;
        std::fprintf(stderr, "  start and close run %d: %.0f ms, %.0f ms\n", run, start, close);
        if (run >= 0) {
            starts.push_back(start);
            closes.push_back(close);
            memory.push_back(workingSet);
        }
    }
    return {Summarise(starts), Summarise(closes), Summarise(memory)};
}

POINT TabCentre(const MainWindow& window, HANDLE process, int index) {
    RemoteBuffer buffer(process, sizeof(RECT));
    if (!SendMessageW(window.Control(kTabStripId), TCM_GETITEMRECT, index, reinterpret_cast<LPARAM>(buffer.Address())))
        throw HarnessError("no rectangle for tab " + std::to_string(index));
    RECT rect;
    buffer.Read(0, &rect, sizeof rect);
    return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

// Memory of the process once the switched category is listed: the working
// set at that moment and the peak a few seconds later, when the installers'
// own icons have been read while the program was idle.
struct Memory {
    std::vector<double> listed;
    std::vector<double> peak;
};

// Starts with category 0 (one entry) shown, clicks tab 1, times until the
// list holds expected entries.
Stats MeasureSwitch(Bench& bench, const ProgramFolder& folder, int expected, Memory* memory = nullptr) {
    std::vector<double> samples;
    for (int run = -1; run < g_runs; ++run) {
        std::unique_ptr<CorvelProcess> process;
        HWND frame = nullptr;
        TimeStart(process, bench, folder, 1, &frame);
        MainWindow window(frame, process->Handle());
        const HWND tabs = window.Control(kTabStripId);
        const POINT at = TabCentre(window, process->Handle(), 1);
        const LPARAM where = MAKELPARAM(at.x, at.y);
        Sleep(200);  // let start-up painting settle
        const double start = Now();
        PostMessageW(tabs, WM_LBUTTONDOWN, MK_LBUTTON, where);
        PostMessageW(tabs, WM_LBUTTONUP, 0, where);
        const HWND list = window.Control(kItemListId);
        const double end = PollUntil(
            [&] {
                return SendPatiently(tabs, TCM_GETCURSEL) == 1 && SendPatiently(list, LVM_GETITEMCOUNT) == expected;
            },
            300000, "the switched category's entries");
        if (memory && run >= 0) {
            memory->listed.push_back(WorkingSetMb(process->Handle(), false));
            Sleep(10000);
            memory->peak.push_back(WorkingSetMb(process->Handle(), true));
            std::fprintf(stderr, "  working set %.0f MB listed, peak %.0f MB\n", memory->listed.back(),
                         memory->peak.back());
        }
        Shut(*process);
        std::fprintf(stderr, "  switch run %d: %.0f ms\n", run, end - start);
        if (run >= 0) samples.push_back(end - start);
    }
    return Summarise(samples);
}

constexpr WORD kSelectAllCommand = 32784;
constexpr WORD kDeleteItemsCommand = 32780;
constexpr UINT kMoveItemsRequest = 1997;
constexpr WORD kInstallCommand = 32775;

// Starts with category 0 of `expected` entries shown and every entry
// selected; returns the running process and its window.
MainWindow StartAllSelected(std::unique_ptr<CorvelProcess>& process, Bench& bench, const ProgramFolder& folder,
                            int expected) {
    HWND frame = nullptr;
    TimeStart(process, bench, folder, expected, &frame);
    MainWindow window(frame, process->Handle());
    PostCommand(frame, kSelectAllCommand);
    PollUntil([&] { return window.SelectedCount() == expected; }, 60000, "every entry selected");
    Sleep(200);  // let start-up painting settle
    return window;
}

// Deletes every selected entry. Under Wine without a window manager the
// question box takes about 2 s to go after its button is pressed, so two
// figures: from pressing Yes, and from the box being gone (the delete
// itself), each until the list is empty (the list answers only once the
// whole delete is done).
struct DeleteTimes {
    Stats fromYes;
    Stats fromClosed;
};

DeleteTimes MeasureDeleteAll(Bench& bench, const ProgramFolder& folder, int expected) {
    std::vector<double> fromYes, fromClosed;
    for (int run = -1; run < g_runs; ++run) {
        std::unique_ptr<CorvelProcess> process;
        MainWindow window = StartAllSelected(process, bench, folder, expected);
        PostCommand(window.Frame(), kDeleteItemsCommand);
        HWND question = process->WaitForMessageBox(L"\u5220\u9664\u5b89\u88c5\u7a0b\u5e8f");  // 删除安装程序
        const double start = Now();
        PressDialogButton(question, IDYES);
        const double closed = PollUntil([&] { return !IsWindow(question); }, 300000, "the question to close");
        const HWND list = window.Control(kItemListId);
        const double end =
            PollUntil([&] { return SendPatiently(list, LVM_GETITEMCOUNT) == 0; }, 300000, "the empty list");
        process->Terminate();  // nothing to keep: the test folder goes away
        std::fprintf(stderr, "  delete run %d: %.0f ms after Yes, %.0f ms after the question closed\n", run,
                     end - start, end - closed);
        if (run >= 0) {
            fromYes.push_back(end - start);
            fromClosed.push_back(end - closed);
        }
    }
    return {Summarise(fromYes), Summarise(fromClosed)};
}

// Moves every selected entry of category 0 to category 1, which then shows
// them after its own `target_items`.
Stats MeasureMoveAll(Bench& bench, const ProgramFolder& folder, int expected, int target_items) {
    std::vector<double> samples;
    for (int run = -1; run < g_runs; ++run) {
        std::unique_ptr<CorvelProcess> process;
        MainWindow window = StartAllSelected(process, bench, folder, expected);
        const HWND list = window.Control(kItemListId);
        const HWND tabs = window.Control(kTabStripId);
        const double start = Now();
        PostMessageW(list, kMoveItemsRequest, 1, 0);
        const double end = PollUntil(
            [&] {
                return SendPatiently(tabs, TCM_GETCURSEL) == 1 &&
                       SendPatiently(list, LVM_GETITEMCOUNT) == expected + target_items;
            },
            300000, "the moved entries in the target category");
        process->Terminate();
        std::fprintf(stderr, "  move run %d: %.0f ms\n", run, end - start);
        if (run >= 0) samples.push_back(end - start);
    }
    return Summarise(samples);
}

// Installs every selected entry with the recording component answering
// "done" at once and logging nothing: the time from the command until the
// component's last call, i.e. the task's own overhead for 3 steps per item.
Stats MeasureInstallAll(Bench& bench, const ProgramFolder& folder, int expected) {
    std::vector<double> samples;
    const std::wstring lastCall = L"CorvelBenchLastCall";
    SetEnvironmentVariableW(L"CORVEL_RECORDER_NOTIFY", lastCall.c_str());
    SetEnvironmentVariableW(L"CORVEL_RECORDER_NOTIFY_AT", std::to_wstring(3 * expected).c_str());
    for (int run = -1; run < g_runs; ++run) {
        HANDLE done = CreateEventW(nullptr, TRUE, FALSE, lastCall.c_str());
        std::unique_ptr<CorvelProcess> process;
        MainWindow window = StartAllSelected(process, bench, folder, expected);
        const double start = Now();
        PostCommand(window.Frame(), kInstallCommand);
        if (WaitForSingleObject(done, 300000) != WAIT_OBJECT_0) throw HarnessError("the task did not finish");
        const double end = Now();
        CloseHandle(done);
        process->Terminate();
        std::fprintf(stderr, "  install run %d: %.0f ms\n", run, end - start);
        if (run >= 0) samples.push_back(end - start);
    }
    return Summarise(samples);
}

constexpr WORD kCheckPathsCommand = 32792;
constexpr int kCategoryListId = 1035;
constexpr int kPathPaneId = 1036;

struct CheckPathsTimes {
    Stats select;  // checking, laying out and drawing the category
    Stats page;    // one page down, drawn
};

// Opens the check paths window with category 0 (one item) current, then
// times selecting category 1 (1,000 items) until it is drawn, and
// paging down through it.
CheckPathsTimes MeasureCheckPaths(Bench& bench, const ProgramFolder& folder) {
    constexpr int kPages = 20;
    std::vector<double> selects, pages;
    for (int run = -1; run < g_runs; ++run) {
        std::unique_ptr<CorvelProcess> process;
        HWND frame = nullptr;
        TimeStart(process, bench, folder, 1, &frame);
        PostCommand(frame, kCheckPathsCommand);
        HWND dialog = nullptr;
        PollUntil(
            [&] {
                for (HWND window : process->Windows(true)) {
                    const std::wstring title = WindowText(window);
                    if (title.compare(0, 4, L"\u68c0\u67e5\u8def\u5f84") == 0) dialog = window;  // 检查路径
                }
                return dialog != nullptr;
            },
            60000, "the check paths window");
        const HWND list = GetDlgItem(dialog, kCategoryListId);
        const HWND pane = GetDlgItem(dialog, kPathPaneId);
        Sleep(200);  // let its first painting settle
        const double start = Now();
        SendPatiently(list, LB_SETCURSEL, 1, 0);
        SendPatiently(dialog, WM_COMMAND, MAKEWPARAM(kCategoryListId, LBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
        SendPatiently(pane, WM_VSCROLL, SB_TOP);  // drawn before the pane answers
        const double selected = Now();
        if (SendPatiently(list, LB_GETCURSEL) != 1) throw HarnessError("the large category is not selected");
        for (int page = 0; page < kPages; ++page) SendPatiently(pane, WM_VSCROLL, SB_PAGEDOWN, 0);
        const double paged = Now();
        process->Terminate();
        std::fprintf(stderr, "  check paths run %d: select %.0f ms, %d pages %.0f ms\n", run, selected - start, kPages,
                     paged - selected);
        if (run >= 0) {
            selects.push_back(selected - start);
            pages.push_back((paged - selected) / kPages);
        }
    }
    return {Summarise(selects), Summarise(pages)};
}

std::string Catalogue(int categories, int items, const std::function<std::string(int, int)>& installer,
                      int first_category_items = -1) {
    std::string text;
    for (int c = 0; c < categories; ++c) {
        text += Line("[Category " + Padded(c, 2) + "]");
        const int count = (c == 0 && first_category_items >= 0) ? first_category_items : items;
        for (int i = 0; i < count; ++i) text += ItemLine("Item " + Padded(c, 2) + "." + Padded(i, 4), installer(c, i));
    }
    return text;
}

void PrintRow(const char* name, const Stats& stats, const Stats* base) {
    std::printf("| %-58s | %9.1f | %9.1f |", name, stats.median, stats.min);
    if (base)
        std::printf(" %7.2fx |", stats.median / base->median);
    else
        std::printf(" %8s |", "");
    std::printf("  runs:");
    for (double v : stats.all) std::printf(" %.0f", v);
    std::printf("\n");
    std::fflush(stdout);
}

// One measured row: its name and figures, kept for the table at the end.
struct Row {
    const char* name;
    Stats stats;
    bool ratio = true;  // set beside the empty start
};

int Run() {
    Bench bench;
    std::printf("Corvel whole-program benchmark: %d measured runs each after one warm-up run; times in ms\n\n", g_runs);
    std::fflush(stdout);
    std::vector<Row> rows;

    // Start-up, empty: no catalogue file.
    auto empty = bench.Folder("");
    const StartClose empty_run = MeasureStartClose(bench, *empty, 0, 0);
    const Stats& empty_start = empty_run.start;
    rows.push_back({"start-up, empty catalogue (no .cvx)", empty_start});
    rows.push_back({"close, empty catalogue", empty_run.close, false});
    rows.push_back({"working set (MB) after start-up, empty catalogue", empty_run.workingSet, false});
    empty.reset();

    if (Wanted("start")) {
        // Start-up, 100 x 100 items with distinct existing installers.
        const auto distinct = [](int c, int i) {
            return "Soft\\c" + Padded(c, 2) + "\\setup_" + Padded(c, 2) + Padded(i, 2) + ".exe";
        };
        auto big = bench.Folder(Catalogue(100, 100, distinct));
        for (int c = 0; c < 100; ++c)
            for (int i = 0; i < 100; ++i) bench.AddInstaller(*big, distinct(c, i));
        std::printf("(100 x 100 folder: %d installer copies, %d hard links)\n", bench.copies_, bench.links_);
        rows.push_back({"start-up, 100 x 100 items, distinct installers", MeasureStart(bench, *big, 100)});
        big.reset();

        // The same catalogue with no installer files: load and tabs without icons.
        auto bare = bench.Folder(Catalogue(100, 100, distinct));
        rows.push_back({"start-up, 100 x 100 items, installers missing", MeasureStart(bench, *bare, 100)});
    }

    if (Wanted("switch")) {
        // Switching: category 0 has one item, category 1 has 1,000.
        const auto wide = [](int c, int i) { return "Soft\\c" + Padded(c, 2) + "\\setup_" + Padded(i, 4) + ".exe"; };
        auto many = bench.Folder(Catalogue(2, 1000, wide, 1));
        bench.AddInstaller(*many, wide(0, 0));
        for (int i = 0; i < 1000; ++i) bench.AddInstaller(*many, wide(1, i));
        rows.push_back({"switch to 1,000 items, 1,000 distinct installers", MeasureSwitch(bench, *many, 1000)});
        many.reset();

        // The same, all 1,000 installers one file.
        const auto shared = [](int, int) { return std::string("Soft\\shared\\setup.exe"); };
        auto one = bench.Folder(Catalogue(2, 1000, shared, 1));
        bench.AddInstaller(*one, shared(0, 0));
        rows.push_back({"switch to 1,000 items, one shared installer path", MeasureSwitch(bench, *one, 1000)});
        one.reset();

        // The same, installers missing: one generic icon, no EXE read at all.
        const auto missing = [](int c, int i) {
            return c == 0 ? std::string("Soft\\present.exe") : "Soft\\missing_" + Padded(i, 4) + ".exe";
        };
        auto absent = bench.Folder(Catalogue(2, 1000, missing, 1));
        bench.AddInstaller(*absent, missing(0, 0));
        rows.push_back(
            {"switch to 1,000 items, installers missing (generic icon)", MeasureSwitch(bench, *absent, 1000)});
    }

    if (Wanted("edit")) {
        // Editing: 1,000 selected entries of category 0 (category 1 holds one).
        const auto editing = [](int c, int i) {
            return c == 1 ? std::string("Soft\\other.exe") : "Soft\\edit\\setup_" + Padded(i, 4) + ".exe";
        };
        auto edits = bench.Folder(Catalogue(2, 1, editing, 1000));
        bench.AddInstaller(*edits, editing(1, 0));
        for (int i = 0; i < 1000; ++i) bench.AddInstaller(*edits, editing(0, i));
        const DeleteTimes deleted = MeasureDeleteAll(bench, *edits, 1000);
        rows.push_back({"delete 1,000 selected entries, from pressing Yes", deleted.fromYes});
        rows.push_back({"delete 1,000 selected entries, from the question closed", deleted.fromClosed});
        rows.push_back({"move 1,000 selected entries to another category", MeasureMoveAll(bench, *edits, 1000, 1)});
    }

    if (Wanted("install")) {
        // 1,000 items, each with an installer, a patch and a settings file.
        std::string text = Line("[Install]");
        for (int i = 0; i < 1000; ++i)
            text += Line("<Name=Item " + Padded(i, 4) +
                         "\x02SrcPath=Soft\\setup.exe /S\x02"
                         "DstDir=C:\\Soft\x02Patch=Soft\\setup.exe -p\x02Settings=Soft\\setup.exe\x02>");
        auto installs = bench.Folder(text, true);
        bench.AddInstaller(*installs, "Soft\\setup.exe");
        rows.push_back(
            {"install 1,000 selected items, 3,000 steps answered at once", MeasureInstallAll(bench, *installs, 1000)});
    }

    if (Wanted("check")) {
        // Check paths over 1,000 items: existing installers (own icons),
        // missing patches and settings files, absolute install folders.
        const auto installer = [](int c, int i) {
            return "Soft\\c" + Padded(c, 2) + "\\setup_" + Padded(i, 4) + ".exe";
        };
        std::string text = Line("[Small]") + ItemLine("Item", installer(0, 0)) + Line("[Large]");
        for (int i = 0; i < 1000; ++i)
            text += Line("<Name=Item " + Padded(i, 4) + "\x02SrcPath=" + installer(1, i) +
                         " /S\x02"
                         "DstDir=C:\\Program Files\\App\x02Patch=Soft\\patch_" +
                         Padded(i, 4) +
                         ".exe\x02"
                         "Settings=Reg\\s.reg data\\x.ini\x02>");
        auto checked = bench.Folder(text);
        bench.AddInstaller(*checked, installer(0, 0));
        for (int i = 0; i < 1000; ++i) bench.AddInstaller(*checked, installer(1, i));
        const CheckPathsTimes times = MeasureCheckPaths(bench, *checked);
        rows.push_back({"check paths: select 1,000 items (4,000 paths) until drawn", times.select});
        rows.push_back({"check paths: one page down in those 1,000 items, drawn", times.page});
    }

    if (Wanted("scale")) {
        // Many categories of one item each, all one installer file.
        const auto shared = [](int, int) { return std::string("Soft\\shared\\setup.exe"); };
        auto tabs = bench.Folder(Catalogue(g_categories, 1, shared));
        bench.AddInstaller(*tabs, shared(0, 0));
        static std::string startName, closeName;
        startName = "start-up, " + std::to_string(g_categories) + " categories, until all tabs exist";
        closeName = "close, " + std::to_string(g_categories) + " categories";
        const StartClose many = MeasureStartClose(bench, *tabs, 1, g_categories);
        rows.push_back({startName.c_str(), many.start});
        rows.push_back({closeName.c_str(), many.close, false});
        tabs.reset();

        // One category of 10,000 items with distinct installers.
        const auto wide = [](int c, int i) { return "Soft\\c" + Padded(c, 2) + "\\setup_" + Padded(i, 5) + ".exe"; };
        auto large = bench.Folder(Catalogue(2, 10000, wide, 1));
        bench.AddInstaller(*large, wide(0, 0));
        for (int i = 0; i < 10000; ++i) bench.AddInstaller(*large, wide(1, i));
        rows.push_back({"switch to 10,000 items, 10,000 distinct installers", MeasureSwitch(bench, *large, 10000)});
        large.reset();

        // One category of 50,000 items whose installers are five files.
        const auto few = [](int, int i) { return "Soft\\few\\setup_" + std::to_string(i % 5) + ".exe"; };
        auto huge = bench.Folder(Catalogue(2, 50000, few, 1));
        for (int i = 0; i < 5; ++i) bench.AddInstaller(*huge, few(1, i));
        Memory memory;
        rows.push_back({"switch to 50,000 items, five installer files", MeasureSwitch(bench, *huge, 50000, &memory)});
        rows.push_back({"working set (MB) with 50,000 items listed", Summarise(memory.listed), false});
        rows.push_back({"peak working set (MB) 10 s later", Summarise(memory.peak), false});
    }

    std::printf("\n| %-58s | %9s | %9s | %8s |\n", "Measurement", "median", "min", "/ empty");
    std::printf("|%s|%s|%s|%s|\n", std::string(60, '-').c_str(), std::string(11, '-').c_str(),
                std::string(11, '-').c_str(), std::string(10, '-').c_str());
    for (const Row& row : rows) PrintRow(row.name, row.stats, row.ratio ? &empty_start : nullptr);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i)
        if (std::strncmp(argv[i], "--runs=", 7) == 0)
            g_runs = std::max(1, std::atoi(argv[i] + 7));
        else if (std::strncmp(argv[i], "--only=", 7) == 0)
            g_only = argv[i] + 7;
        else if (std::strncmp(argv[i], "--categories=", 13) == 0)
            g_categories = std::max(1, std::atoi(argv[i] + 13));
        else if (std::strncmp(argv[i], "--program=", 10) == 0)
            g_program = argv[i] + 10;
        else if (std::strncmp(argv[i], "--quarro=", 9) == 0)
            g_quarro = argv[i] + 9;
    try {
        return Run();
    } catch (const std::exception& error) {
        std::fprintf(stderr, "corvel_benchmark: %s\n", error.what());
        return 1;
    }
}
