#include "ui/main/corvel_view.h"

#include <commctrl.h>

#include <type_traits>

#include "catalogue/catalogue_file.h"
#include "catalogue/win32_text.h"
#include "engine/install_task.h"
#include "ui/main/resource.h"
#include "ui/main/view_requests.h"
#include "ui/window/dpi.h"
#include "ui/window/message_box.h"
#include "ui/window/window.h"

namespace corvel::ui {

namespace {

constexpr int kHotKeyId = 1080;
constexpr UINT kHotKeyR = 0x52;

std::wstring CorvelCaption() {
    return LoadResourceString(IDS_CAPTION_CORVEL);
}

}  // namespace

CCorvelView::CCorvelView(ProgramLocation location, StatusSink status)
    : location_(std::move(location)),
      paths_(location_.folder),
      status_(std::move(status)),
      document_(location_.catalogueFile) {}

bool CCorvelView::Create(HWND frame) {
    frame_ = frame;
    context_.owner = frame;
    // The icon cache owns the image list; the list only shares it.
    list_ =
        CreateWindowExW(WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"",
                        WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP | LVS_ICON | LVS_OWNERDATA |
                            LVS_SHOWSELALWAYS | LVS_EDITLABELS | LVS_SHAREIMAGELISTS,
                        0, 0, 0, 0, frame, reinterpret_cast<HMENU>(IDC_ITEM_LIST), GetModuleHandleW(nullptr), nullptr);
    if (!list_) return false;
    return listSubclass_.Attach(
        list_, [this](UINT message, WPARAM wParam, LPARAM lParam) { return OnListMessage(message, wParam, lParam); });
}

void CCorvelView::InitialUpdate() {
    RegisterHotKey(list_, kHotKeyId, MOD_CONTROL, kHotKeyR);  // taken by another program: no typing

    components_.SetMainFrame(frame_);
    if (!components_.LoadAll(location_.folder + "Components")) {
        ShowMessageBox(list_, LoadResourceString(IDS_COMPONENTS_FAILED), CorvelCaption(), MB_OK | MB_ICONSTOP);
        PostMessageW(frame_, WM_CLOSE, 0, 0);
    }

    HWND tabs = reinterpret_cast<HWND>(SendMessageW(frame_, kRequestTabStrip, 0, 0));
    if (!binder_.Bind(tabs, list_)) {
        ShowMessageBox(list_, LoadResourceString(IDS_CONTROLS_FAILED), CorvelCaption(), MB_OK | MB_ICONSTOP);
        PostMessageW(frame_, WM_CLOSE, 0, 0);
        return;
    }

    if (document_.Load(catalogue_) != CatalogueOpening::Read) return;
    binder_.SetTabRedraw(false);
    if (catalogue_.Enumerate(catalogue_.Root(), NodeKind::Category,
                             [this](NodeKind kind, CatalogueNode* node) { AddNode(kind, node); }))
        context_.ShowCategory(0);
    binder_.SetTabRedraw(true);
    InvalidateRect(binder_.Tabs(), nullptr, TRUE);
    status_(LoadResourceString(IDS_READY));  // showing the first category cleared it
}

void CCorvelView::OnDestroy() {
    // Nothing may read the catalogue or call a component while it is saved
    // and they are unloaded.
    installCommands_.EndTask(kEndTaskWait | kEndTaskWaitLimited);
    UnregisterHotKey(list_, kHotKeyId);
    if (catalogue_.IsModified()) SaveCatalogueFile(true, true);
    // The tabs go with the tab strip's window, destroyed right after this.
    // Removing them here would make the strip lay out the remaining tabs
    // after each one, which took minutes for thousands of tabs.
    binder_.ClearList();
    components_.UnloadAll();
}

bool CCorvelView::SaveCatalogueFile(bool tellUser, bool closing) {
    CatalogueSave saved = document_.Save(catalogue_);
    if (saved == CatalogueSave::KeptBeside && !toldKeptCopy_ && tellUser) {
        toldKeptCopy_ = true;
        std::wstring caption = Window(frame_).Text();
        ShowMessageBox(closing ? nullptr : frame_,
                       FormatResourceString(IDS_CATALOGUE_KEPT_BESIDE, {WideFromCp936(document_.Path()),
                                                                        WideFromCp936(document_.KeptCopyPath())}),
                       caption.empty() ? CorvelCaption() : caption, MB_OK | MB_ICONEXCLAMATION);
    }
    // A read-only CD or a full disk must not lose the run's changes unseen.
    if (saved == CatalogueSave::Failed && tellUser && closing)
        ShowMessageBox(nullptr, FormatResourceString(IDS_SAVE_FAILED, {WideFromCp936(document_.Path())}),
                       CorvelCaption(), MB_OK | MB_ICONSTOP);
    return saved != CatalogueSave::Failed;
}

bool CCorvelView::SaveForEndOfSession() {
    if (!catalogue_.IsModified()) return true;
    // No message: the session is ending and nobody would answer it. Once
    // saved, a late destruction of the window has nothing left to write.
    if (!SaveCatalogueFile(false, true)) return false;
    catalogue_.SetModified(false);
    return true;
}

void CCorvelView::SaveChangesNow() {
    if (catalogue_.IsModified() && SaveCatalogueFile(true, false)) catalogue_.SetModified(false);
}

void CCorvelView::AddNode(NodeKind kind, CatalogueNode* node) {
    if (kind == NodeKind::Category)
        binder_.AppendTab(node->Name(), node);
    else if (kind == NodeKind::Item)
        context_.AppendEntryFor(node);
}

void CCorvelView::SetDpi(UINT dpi) {
    if (UniqueFont font{CreateIconFontForDpi(dpi)}) {
        // The old font goes only once the list no longer holds it.
        SendMessageW(list_, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), FALSE);
        listFont_ = std::move(font);
    }
    binder_.SetIconDpi(dpi, [this](CatalogueNode* item) { return context_.InstallerOf(item); });
    ListView_SetIconSpacing(list_, SystemMetricForDpi(SM_CXICONSPACING, dpi),
                            SystemMetricForDpi(SM_CYICONSPACING, dpi));
    ListView_Arrange(list_, LVA_DEFAULT);
}

void CCorvelView::ShowCommentOf(int entry, bool selected) {
    ItemFields fields;
    if (selected && catalogue_.GetItemFields(binder_.ItemOfEntry(entry), fields))
        status_(WideFromCp936(fields.Comment));
    else
        status_(std::wstring());
}

LRESULT CCorvelView::OnNotify(NMHDR* header) {
    if (header->hwndFrom == list_) return OnListNotify(header);
    if (header->hwndFrom != binder_.Tabs()) return 0;
    switch (header->code) {
        case TCN_SELCHANGING:
            return EndRunningTaskIfUserAgrees() ? FALSE : TRUE;
        case TCN_SELCHANGE:
            context_.ShowCategory(binder_.CurrentTab());
            return 0;
    }
    return 0;
}

LRESULT CCorvelView::OnListNotify(NMHDR* header) {
    switch (header->code) {
        case LVN_GETDISPINFOW:
            binder_.FillDisplayInfo(*reinterpret_cast<NMLVDISPINFOW*>(header));
            return 0;
        case LVN_ODFINDITEMW:
            return binder_.FindEntry(*reinterpret_cast<const NMLVFINDITEMW*>(header));
        case LVN_ITEMCHANGED: {
            // Any state change: the list may report it before it answers for
            // the new state, so read the state the notification carries.
            auto* change = reinterpret_cast<const NMLISTVIEW*>(header);
            if (change->uChanged & LVIF_STATE)
                ShowCommentOf(change->iItem, change->iItem >= 0 && (change->uNewState & LVIS_SELECTED));
            return 0;
        }
        case LVN_ODSTATECHANGED: {
            // A range changed at once (a shift-click): the last entry of it
            // is the one a list of its own entries would have reported last.
            auto* change = reinterpret_cast<const NMLVODSTATECHANGE*>(header);
            ShowCommentOf(change->iTo, (change->uNewState & LVIS_SELECTED) != 0);
            return 0;
        }
        case NM_DBLCLK:
            if (HasSelection())
                SendMessageW(list_, (GetKeyState(VK_SHIFT) < 0) ? kRequestEditItem : kRequestInstall, 0, 0);
            return 0;
        case LVN_KEYDOWN:
            if (reinterpret_cast<const NMLVKEYDOWN*>(header)->wVKey == VK_RETURN && HasSelection())
                SendMessageW(list_, kRequestInstall, 0, 0);
            return 0;
        case LVN_BEGINLABELEDITW:
            // A slow second click begins a rename as the command does.
            return EndRunningTaskIfUserAgrees() ? FALSE : TRUE;
        case LVN_ENDLABELEDITW:
            itemCommands_.EndRename(*reinterpret_cast<const NMLVDISPINFOW*>(header));
            return FALSE;  // a label changes only through a rename of the item
    }
    return 0;
}

template <typename Action>
LRESULT CCorvelView::Run(TaskGuard guard, Action action) {
    if (guard == kGuarded && !EndRunningTaskIfUserAgrees()) return 0;
    if constexpr (std::is_void_v<std::invoke_result_t<Action>>) {
        action();
        return 0;
    } else {
        return action();
    }
}

// The table of view requests: whether each passes the install-task guard,
// and what carries it out. The guard is asked here, before anything else.
LRESULT CCorvelView::HandleRequest(UINT request, WPARAM wParam, LPARAM lParam) {
    const int argument = static_cast<int>(wParam);
    const auto bits = static_cast<unsigned>(wParam);              // of an end-task request
    auto* const node = reinterpret_cast<CatalogueNode*>(lParam);  // of an add-node request
    // clang-format off
    switch (request) {
        case kRequestSaveForCd:        return Run(kGuarded,    [&] { toolCommands_.SaveForCd(); });
        case kRequestNewCategory:      return Run(kGuarded,    [&] { categoryCommands_.New(); });
        case kRequestDeleteCategory:   return Run(kGuarded,    [&] { categoryCommands_.Delete(); });
        case kRequestEditCategory:     return Run(kGuarded,    [&] { categoryCommands_.Edit(); });
        case kRequestSwitchToCategory: return Run(kGuarded,    [&] { categoryCommands_.SwitchTo(argument); });
        case kRequestInstall:          return Run(kGuarded,    [&] { installCommands_.Start(kAllSteps); });
        case kRequestCopyRegcode:      return Run(kNotGuarded, [&] { installCommands_.FetchRegistrationText(); });
        case kRequestInstallPatch:     return Run(kGuarded,    [&] { installCommands_.Start(kPatchStep); });
        case kRequestRestoreSettings:  return Run(kGuarded,    [&] { installCommands_.Start(kSettingsStep); });
        case kRequestAddItem:          return Run(kGuarded,    [&] { itemCommands_.Add(); });
        case kRequestDeleteItems:      return Run(kGuarded,    [&] { itemCommands_.Delete(); });
        case kRequestEditItem:         return Run(kGuarded,    [&] { itemCommands_.Edit(); });
        case kRequestRenameItem:       return Run(kGuarded,    [&] { itemCommands_.Rename(); });
        case kRequestMoveItems:        return Run(kGuarded,    [&] { itemCommands_.MoveTo(argument); });
        case kRequestCopyFiles:        return Run(kGuarded,    [&] { toolCommands_.CopyFiles(); });
        case kRequestSelectAll:        return Run(kNotGuarded, [&] { itemCommands_.SelectAll(); });
        case kRequestInvertSelection:  return Run(kNotGuarded, [&] { itemCommands_.InvertSelection(); });
        case kRequestViewFile:         return Run(kGuarded,    [&] { itemCommands_.ViewFile(argument); });
        case kRequestProperties:       return Run(kGuarded,    [&] { itemCommands_.ShowProperties(argument); });
        case kRequestCheckPaths:       return Run(kGuarded,    [&] { toolCommands_.CheckPaths(); });
        case kRequestCreateFolders:    return Run(kGuarded,    [&] { toolCommands_.CreateFolders(); });
        case kRequestEndTask:          return Run(kNotGuarded, [&] { return installCommands_.EndTask(bits); });
        case kRequestAddNode:          return Run(kNotGuarded, [&] { AddNode(static_cast<NodeKind>(argument), node); });
        default:                       return 0;
    }
    // clang-format on
}

LRESULT CCorvelView::OnListMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message >= kRequestSaveForCd && message <= kRequestAddNode && message != kRequestTabStrip)
        return HandleRequest(message, wParam, lParam);
    if (message == WM_HOTKEY && wParam == static_cast<WPARAM>(kHotKeyId)) {
        installCommands_.TypeRegistrationText();
        return 0;
    }
    if (message == kRestartRenameMessage) {
        itemCommands_.RestartRename(static_cast<int>(wParam));
        return 0;
    }
    if (message == WM_KEYUP && wParam == VK_DELETE && HasSelection()) {
        SendMessageW(list_, kRequestDeleteItems, 0, 0);
        return 0;
    }
    return listSubclass_.Default(message, wParam, lParam);
}

}  // namespace corvel::ui
