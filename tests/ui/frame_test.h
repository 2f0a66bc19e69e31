// The real frame and view created inside the test program, with message
// boxes and modal dialogs answered by the test.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "ui/main/main_frame.h"
#include "ui/window/dialog.h"
#include "ui/window/message_box.h"

namespace corvel::ui {

class FrameTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ =
            std::filesystem::temp_directory_path() / ("corvel-ui-" + std::to_string(GetCurrentProcessId()) + "-" +
                                                      ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(folder_);
        std::filesystem::create_directories(folder_ / "Components");
        std::filesystem::copy_file(QUARRO_CPN_PATH, folder_ / "Components" / "Quarro.cpn");
        // The install task shows its messages from its own thread.
        SetMessageBoxHookForTesting([this](const MessageBoxRequest& request) {
            std::lock_guard<std::mutex> lock(shownLock_);
            shown_.push_back(request);
            if (answers_.empty()) return IDOK;
            int answer = answers_.front();
            answers_.pop_front();
            return answer;
        });
        SetModalDialogHookForTesting([this](Dialog& dialog) -> INT_PTR {
            dialogs_.push_back(dialog.ResourceId());
            return dialogScript_ ? dialogScript_(dialog) : IDCANCEL;
        });
    }

    void TearDown() override {
        frame_.reset();
        // The frame's end posts WM_QUIT; left in the queue it would end the
        // next test's first modal dialog at once.
        MSG quit;
        while (PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        }
        SetMessageBoxHookForTesting(nullptr);
        SetModalDialogHookForTesting(nullptr);
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }

    void WriteCatalogue(const std::string& bytes) { std::ofstream(folder_ / "Corvel.cvx", std::ios::binary) << bytes; }
    std::string ReadCatalogue() const {
        std::ifstream saved(folder_ / "Corvel.cvx", std::ios::binary);
        return std::string((std::istreambuf_iterator<char>(saved)), std::istreambuf_iterator<char>());
    }

    void Start(std::string catalogueFile = {}) {
        ProgramLocation location{folder_.string() + "\\",
                                 catalogueFile.empty() ? (folder_ / "Corvel.cvx").string() : catalogueFile,
                                 (folder_ / "Corvel.exe").string()};
        frame_ = std::make_unique<CMainFrame>(location);
        ASSERT_TRUE(frame_->Create());
        frame_->View().InitialUpdate();
    }
    HMENU Submenu(int top, int position) { return GetSubMenu(GetSubMenu(GetMenu(frame_->Handle()), top), position); }

    // Opens the pop-up as the menu loop would and reads its entries.
    struct Entry {
        std::wstring text;
        UINT id;
        bool enabled;
    };
    std::vector<Entry> Open(HMENU popup) {
        SendMessageW(frame_->Handle(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup), 0);
        std::vector<Entry> entries;
        for (int i = 0, count = GetMenuItemCount(popup); i < count; ++i) {
            wchar_t text[256] = {};
            GetMenuStringW(popup, i, text, 256, MF_BYPOSITION);
            UINT state = GetMenuState(popup, i, MF_BYPOSITION);
            entries.push_back({text, GetMenuItemID(popup, i), !(state & (MF_GRAYED | MF_DISABLED))});
        }
        return entries;
    }

    // Ends the program as the close box does; the catalogue is saved.
    void Close() { SendMessageW(frame_->Handle(), WM_CLOSE, 0, 0); }

    void Command(int id) { SendMessageW(frame_->Handle(), WM_COMMAND, id, 0); }
    Binder& Controls() { return frame_->View().Controls(); }
    Catalogue& Model() { return frame_->View().Model(); }
    HWND List() { return frame_->View().Handle(); }
    void SelectEntry(int index, bool selected = true) {
        ListView_SetItemState(List(), index, selected ? LVIS_SELECTED : 0, LVIS_SELECTED);
    }
    std::vector<std::string> EntryNames() {
        std::vector<std::string> names;
        for (int i = 0; i < Controls().EntryCount(); ++i) names.emplace_back(Controls().ItemOfEntry(i)->Name());
        return names;
    }
    std::vector<std::string> ItemNamesOf(int tab) {
        std::vector<std::string> names;
        Model().Enumerate(Controls().CategoryOfTab(tab), NodeKind::Item,
                          [&](NodeKind, CatalogueNode* item) { names.emplace_back(item->Name()); });
        return names;
    }
    std::vector<std::wstring> TabTexts() {
        std::vector<std::wstring> texts;
        for (int i = 0; i < Controls().TabCount(); ++i) texts.push_back(Controls().TabText(i).value_or(L"?"));
        return texts;
    }

    std::filesystem::path folder_;
    std::unique_ptr<CMainFrame> frame_;
    // What was shown so far; safe while an install task runs.
    std::vector<MessageBoxRequest> Shown() {
        std::lock_guard<std::mutex> lock(shownLock_);
        return shown_;
    }

    std::mutex shownLock_;
    std::vector<MessageBoxRequest> shown_;
    std::deque<int> answers_;                       // answers to the next message boxes; IDOK when empty
    std::vector<int> dialogs_;                      // resource ids of the dialogs run
    std::function<INT_PTR(Dialog&)> dialogScript_;  // IDCANCEL when unset
};

}  // namespace corvel::ui
