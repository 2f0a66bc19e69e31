// The main frame: menus, toolbar, the band with the category tab strip and
// the status bar around the catalogue view. It decides what is enabled and
// hands every catalogue command to the view.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "catalogue/unique_handle.h"
#include "ui/main/commands.h"
#include "ui/main/corvel_doc.h"
#include "ui/main/corvel_view.h"
#include "ui/main/external_tools.h"
#include "ui/main/frame_toolbar.h"
#include "ui/main/program_location.h"
#include "ui/window/window.h"

namespace corvel::ui {

inline constexpr wchar_t kMainFrameClass[] = L"CorvelMainFrame";

class CMainFrame : public MessageWindow {
public:
    explicit CMainFrame(ProgramLocation location);

    // Creates the window and its controls; false when any of them fails.
    bool Create();
    CCorvelView& View() { return view_; }
    // Updates the toolbar buttons and reads a few pending item icons; the
    // message loop calls it when idle. True while more idle work waits.
    bool OnIdle();
    void SetStatusText(const std::wstring& text);
    std::wstring StatusText() const;
    MenuMode LastMenuMode() const { return menuMode_; }
    const FrameToolbar& Toolbar() const { return toolbar_; }

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    bool CreateControls();
    bool CreateBandRow();
    // Sizes the band and sets the tabs' and status bar's font for dpi.
    void ApplyDpi(UINT dpi);
    void OnDpiChanged(UINT dpi, LPARAM suggested);
    void Layout();
    void OnCommand(int id);
    void OnInitMenuPopup(HMENU popup);
    void FillCategorySubmenu(HMENU popup, MenuMode mode);
    void FillToolsSubmenu(HMENU popup);
    void OnMenuSelect(UINT id, UINT flags, HMENU menu);
    LRESULT OnNotify(NMHDR* header);
    // False when target has no menu of ours.
    bool OnContextMenu(HWND target, POINT at);
    void OnClose();
    std::wstring PromptOf(int id, bool tooltip) const;

    CCorvelDoc document_;
    CCorvelView view_;
    HWND bandRow_ = nullptr;
    HWND tabs_ = nullptr;
    FrameToolbar toolbar_;
    HWND statusBar_ = nullptr;
    UniqueFont barFont_;  // of the tabs and the status bar
    MenuMode menuMode_ = kMenuNone;
    ExternalTools tools_;  // after the view, whose program folder it takes
};

}  // namespace corvel::ui
