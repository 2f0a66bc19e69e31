#include "item_commands.h"

#include <optional>

#include "component_interface.h"
#include "corvel_view.h"
#include "item_editor_dialog.h"
#include "message_box.h"
#include "names.h"
#include "resource.h"
#include "shell_files.h"
#include "shell_launch.h"
#include "typed_text.h"
#include "win32_text.h"
#include "window.h"

namespace corvel::ui {

namespace {

UINT MessageOf(DisplayNameEdit verdict) {
    switch (verdict) {
        case DisplayNameEdit::Empty:
            return IDS_RENAME_EMPTY;
        case DisplayNameEdit::LeadingBlank:
            return IDS_RENAME_LEADING_BLANK;
        default:
            return IDS_RENAME_RESERVED;
    }
}

UINT IconFlag(MessageIcon icon) {
    return icon == MessageIcon::Stop ? MB_ICONSTOP : MB_ICONEXCLAMATION;
}

}  // namespace

bool ItemCommands::ReadyForSelection() const {
    return view_.InstallTaskAllows() && view_.Controls().CurrentTab() >= 0 && view_.HasSelection();
}

void ItemCommands::Report(UINT text, UINT caption, UINT icon) const {
    ShowMessageBox(view_.Owner(), LoadResourceString(text), LoadResourceString(caption), MB_OK | icon);
}

void ItemCommands::Add() {
    if (!view_.InstallTaskAllows()) return;
    Binder& controls = view_.Controls();
    CatalogueNode* category = controls.CategoryOfTab(controls.CurrentTab());
    if (!category) return;
    ItemFields record;
    CItemEditorDialog editor(record, ItemEditorMode::Add);
    if (editor.RunModal(view_.Owner()) != IDOK) return;
    if (CatalogueNode* item = view_.Model().AddItem(category, record)) view_.AppendEntryFor(item);
}

void ItemCommands::Edit() {
    if (!ReadyForSelection()) return;
    Binder& controls = view_.Controls();
    int entry = controls.FirstSelectedEntry();
    CatalogueNode* item = controls.ItemOfEntry(entry);
    ItemFields record;
    if (!view_.Model().GetItemFields(item, record)) return;
    CItemEditorDialog editor(record, ItemEditorMode::Edit);
    if (editor.RunModal(view_.Owner()) != IDOK) return;
    if (!view_.Model().SetItemFields(item, record)) return;
    // Without an icon for the new installer the entry keeps its old look.
    controls.SetEntry(entry, view_.Paths().ProgramPathOfCommand(record.SrcPath, true));
}

void ItemCommands::Delete() {
    if (!ReadyForSelection()) return;
    if (ShowMessageBox(view_.Owner(), LoadResourceString(IDS_DELETE_ITEMS_QUESTION),
                       LoadResourceString(IDS_DELETE_ITEMS_CAPTION), MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    Binder& controls = view_.Controls();
    std::vector<Binder::SelectedEntry> selected = controls.SelectedEntries();
    controls.SetListRedraw(false);
    // Last to first, so the indices still to visit stay valid.
    for (auto entry = selected.rbegin(); entry != selected.rend(); ++entry) {
        if (view_.Model().DeleteItem(entry->item)) controls.DeleteEntry(entry->index);
    }
    controls.SetListRedraw(true);
    view_.SetStatus(std::wstring());
}

void ItemCommands::Rename() {
    if (!ReadyForSelection()) return;
    view_.Controls().EditLabel(view_.Controls().FirstSelectedEntry());
}

void ItemCommands::EndRename(const NMLVDISPINFOW& edit) {
    if (!edit.item.pszText) return;  // cancelled
    int entry = edit.item.iItem;
    std::optional<std::string> text = ExactCp936FromWide(edit.item.pszText);
    if (!text) {
        TellUnstorableText(view_.Owner(), LoadResourceString(IDS_RENAME_FIELD), LoadResourceString(IDS_RENAME_CAPTION));
        ReopenRename(entry, edit.item.pszText);
        return;
    }
    DisplayNameEdit verdict = CheckDisplayNameEdit(text);
    if (verdict != DisplayNameEdit::Accept) {
        Report(MessageOf(verdict), IDS_RENAME_CAPTION, IconFlag(IconFor(verdict)));
        ReopenRename(entry, edit.item.pszText);
        return;
    }
    Binder& controls = view_.Controls();
    CatalogueNode* item = controls.ItemOfEntry(entry);
    if (!item || !view_.Model().RenameItem(item, *text) || !controls.RedrawEntry(entry))
        Report(IDS_RENAME_FAILED, IDS_RENAME_CAPTION, MB_ICONSTOP);
}

void ItemCommands::ReopenRename(int entry, const wchar_t* typed) {
    refusedName_ = typed;
    PostMessageW(view_.Handle(), kRestartRenameMessage, static_cast<WPARAM>(entry), 0);
}

void ItemCommands::RestartRename(int entry) {
    HWND field = view_.Controls().EditLabel(entry);
    if (!field) return;
    // The user goes on from what was typed, as in a dialog that refused it.
    SetWindowTextW(field, refusedName_.c_str());
    SendMessageW(field, EM_SETSEL, 0, -1);
}

void ItemCommands::MoveTo(int category) {
    if (!ReadyForSelection()) return;
    Binder& controls = view_.Controls();
    CatalogueNode* target = controls.CategoryOfTab(category);
    if (!target) return;
    // First to last keeps the moved items in their order at the target's end.
    for (const Binder::SelectedEntry& entry : controls.SelectedEntries()) view_.Model().MoveItem(entry.item, target);
    view_.ShowCategory(category);
}

void ItemCommands::SelectAll() {
    Binder& controls = view_.Controls();
    if (controls.CurrentTab() < 0) return;
    for (int i = 0, count = controls.EntryCount(); i < count; ++i) controls.SetSelected(i, true);
}

void ItemCommands::InvertSelection() {
    Binder& controls = view_.Controls();
    if (controls.CurrentTab() < 0) return;
    for (int i = 0, count = controls.EntryCount(); i < count; ++i) controls.SetSelected(i, !controls.IsSelected(i));
}

void ItemCommands::ViewFile(int which) {
    std::string path = ExistingFileOfSelection(which, IDS_VIEW_CAPTION);
    if (!path.empty()) ExploreAndSelect(path);
}

void ItemCommands::ShowProperties(int which) {
    std::string path = ExistingFileOfSelection(which, IDS_PROPERTIES_CAPTION);
    if (!path.empty()) corvel::ShowProperties(path);
}

std::string ItemCommands::ExistingFileOfSelection(int which, UINT caption) const {
    if (!ReadyForSelection()) return {};
    const Binder& controls = view_.Controls();
    ItemFields fields;
    if (!view_.Model().GetItemFields(controls.ItemOfEntry(controls.FirstSelectedEntry()), fields)) return {};
    const std::string* command = nullptr;
    UINT missing = 0;
    switch (which) {
        case kInstallerStep:
            command = &fields.SrcPath, missing = IDS_INSTALLER_MISSING;
            break;
        case kPatchStep:
            command = &fields.Patch, missing = IDS_PATCH_MISSING;
            break;
        case kSettingsStep:
            command = &fields.Settings, missing = IDS_SETTINGS_MISSING;
            break;
        default:
            return {};
    }
    std::string path = view_.Paths().ProgramPathOfCommand(*command, true);
    if (path.empty() || FileExists(path)) return path;
    ShowMessageBox(view_.Owner(), FormatResourceString(missing, {WideFromCp936(fields.Name), WideFromCp936(path)}),
                   LoadResourceString(caption), MB_OK | MB_ICONSTOP);
    return {};
}

}  // namespace corvel::ui
