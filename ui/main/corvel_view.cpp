#include "corvel_view.h"

#include <commctrl.h>

#include "catalogue_file.h"
#include "message_box.h"
#include "resource.h"
#include "view_requests.h"
#include "win32_text.h"
#include "window.h"

namespace corvel::ui {

namespace {

constexpr int kHotKeyId = 1080;
constexpr UINT kHotKeyR = 0x52;

std::wstring CorvelCaption() {
    return LoadResourceString(IDS_CAPTION_CORVEL);
}

}  // namespace

CCorvelView::CCorvelView(ProgramLocation location, StatusSink status)
    : location_(std::move(location)), paths_(location_.folder), status_(std::move(status)) {}

bool CCorvelView::Create(HWND frame) {
    frame_ = frame;
    list_ = CreateWindowExW(WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"",
                            WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | LVS_ICON | LVS_SHOWSELALWAYS | LVS_EDITLABELS, 0,
                            0, 0, 0, frame, reinterpret_cast<HMENU>(IDC_ITEM_LIST), GetModuleHandleW(nullptr), nullptr);
    if (!list_) return false;
    return SetWindowSubclass(list_, ListProcedure, 1, reinterpret_cast<DWORD_PTR>(this)) != 0;
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

    if (!LoadCatalogue(catalogue_, location_.catalogueFile)) return;
    binder_.SetTabRedraw(false);
    if (catalogue_.Enumerate(catalogue_.Root(), NodeKind::Category,
                             [this](NodeKind kind, CatalogueNode* node) { AddNode(kind, node); }))
        ShowCategory(0);
    binder_.SetTabRedraw(true);
    InvalidateRect(binder_.Tabs(), nullptr, TRUE);
}

void CCorvelView::OnDestroy() {
    UnregisterHotKey(list_, kHotKeyId);
    if (catalogue_.IsModified()) SaveAtEnd();
    binder_.DeleteAllTabs();
    binder_.ClearList();
    components_.UnloadAll();
}

// A read-only CD or a full disk must not lose the run's changes unseen.
void CCorvelView::SaveAtEnd() {
    if (SaveCatalogue(catalogue_, location_.catalogueFile)) return;
    std::wstring text = LoadResourceString(IDS_SAVE_FAILED);
    std::size_t slot = text.find(L"%s");
    if (slot != std::wstring::npos) text.replace(slot, 2, WideFromCp936(location_.catalogueFile));
    ShowMessageBox(nullptr, text, CorvelCaption(), MB_OK | MB_ICONSTOP);
}

void CCorvelView::AddNode(NodeKind kind, CatalogueNode* node) {
    if (kind == NodeKind::Category) {
        binder_.AppendTab(node->Name(), node);
    } else if (kind == NodeKind::Item) {
        // An item whose installer resolves to nothing stays in the catalogue
        // but gets no entry.
        std::string installer = paths_.ProgramPathOfCommand(node->StoredField(Field::SrcPath), true);
        binder_.AppendEntry(node->Name(), installer, node);
    }
}

bool CCorvelView::ShowCategory(int index) {
    CatalogueNode* category = binder_.CategoryOfTab(index);
    if (!category) return false;
    binder_.SelectTab(index);
    binder_.SetListRedraw(false);
    binder_.ClearList();
    catalogue_.Enumerate(category, NodeKind::Item, [this](NodeKind kind, CatalogueNode* node) { AddNode(kind, node); });
    binder_.SetListRedraw(true);
    return true;
}

void CCorvelView::ShowCommentOf(int entry, bool selected) {
    ItemFields fields;
    if (selected && catalogue_.GetItemFields(binder_.ItemOfEntry(entry), fields))
        status_(WideFromCp936(fields.Comment));
    else
        status_(std::wstring());
}

LRESULT CCorvelView::OnNotify(const NMHDR* header) {
    if (header->hwndFrom == binder_.Tabs()) {
        switch (header->code) {
            case TCN_SELCHANGING:
                return InstallTaskAllows() ? FALSE : TRUE;
            case TCN_SELCHANGE:
                ShowCategory(binder_.CurrentTab());
                status_(std::wstring());
                return 0;
        }
        return 0;
    }
    if (header->hwndFrom != list_) return 0;
    switch (header->code) {
        case LVN_ITEMCHANGED: {
            auto* change = reinterpret_cast<const NMLISTVIEW*>(header);
            if ((change->uChanged & LVIF_STATE) && change->iItem >= 0 &&
                ((change->uNewState ^ change->uOldState) & LVIS_SELECTED))
                ShowCommentOf(change->iItem, change->uNewState & LVIS_SELECTED);
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
        case LVN_ENDLABELEDITW:
            return FALSE;  // a label changes only through a rename of the item
    }
    return 0;
}

LRESULT CCorvelView::HandleRequest(UINT request, WPARAM wParam, LPARAM lParam) {
    switch (request) {
        case kRequestAddNode:
            AddNode(static_cast<NodeKind>(wParam), reinterpret_cast<CatalogueNode*>(lParam));
            return 0;
        case kRequestSelectAll:
            if (binder_.CurrentTab() < 0) return 0;
            for (int i = 0, count = binder_.EntryCount(); i < count; ++i) binder_.SetSelected(i, true);
            return 0;
        case kRequestInvertSelection:
            if (binder_.CurrentTab() < 0) return 0;
            for (int i = 0, count = binder_.EntryCount(); i < count; ++i)
                binder_.SetSelected(i, !binder_.IsSelected(i));
            return 0;
        case kRequestEndTask:
            return 0;  // no install task can run yet
        default:
            return 0;  // commands of later work
    }
}

LRESULT CALLBACK CCorvelView::ListProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                            DWORD_PTR selfData) {
    auto* self = reinterpret_cast<CCorvelView*>(selfData);
    if (message >= kRequestSaveForCd && message <= kRequestAddNode && message != kRequestTabStrip)
        return self->HandleRequest(message, wParam, lParam);
    if (message == WM_KEYUP && wParam == VK_DELETE && self->HasSelection()) {
        SendMessageW(hwnd, kRequestDeleteItems, 0, 0);
        return 0;
    }
    if (message == WM_NCDESTROY) RemoveWindowSubclass(hwnd, ListProcedure, 1);
    return DefSubclassProc(hwnd, message, wParam, lParam);
}

}  // namespace corvel::ui
