#include "ui/main/item_commands.h"

#include <optional>

#include "catalogue/names.h"
#include "catalogue/shell/shell_files.h"
#include "catalogue/shell/shell_launch.h"
#include "catalogue/win32_text.h"
#include "components/component_interface.h"
#include "ui/item_editor/item_editor_dialog.h"
#include "ui/main/resource.h"
#include "ui/window/message_box.h"
#include "ui/window/typed_text.h"
#include "ui/window/window.h"

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

}  // namespace

bool ItemCommands::HasCurrentSelection() const {
    return context_.controls.CurrentTab() >= 0 && context_.HasSelection();
}

void ItemCommands::Report(UINT text, UINT caption, UINT icon) const {
    ShowMessageBox(context_.owner, LoadResourceString(text), LoadResourceString(caption), MB_OK | icon);
}

void ItemCommands::Add() {
    Binder& controls = context_.controls;
    CatalogueNode* category = controls.CategoryOfTab(controls.CurrentTab());
    if (!category) return;
    ItemFields record;
    CItemEditorDialog editor(record, ItemEditorMode::Add);
    if (editor.RunModal(context_.owner) != IDOK) return;
    if (CatalogueNode* item = context_.catalogue.AddItem(category, record)) context_.AppendEntryFor(item);
}

void ItemCommands::Edit() {
    if (!HasCurrentSelection()) return;
    Binder& controls = context_.controls;
    int entry = controls.FirstSelectedEntry();
    CatalogueNode* item = controls.ItemOfEntry(entry);
    ItemFields record;
    if (!context_.catalogue.GetItemFields(item, record)) return;
    CItemEditorDialog editor(record, ItemEditorMode::Edit);
    if (editor.RunModal(context_.owner) != IDOK) return;
    if (!context_.catalogue.SetItemFields(item, record)) return;
    // Without an icon for the new installer the entry keeps its old look.
    controls.SetEntry(entry, context_.paths.ProgramPathOfCommand(record.SrcPath, true));
}

void ItemCommands::Delete() {
    if (!HasCurrentSelection()) return;
    if (ShowMessageBox(context_.owner, LoadResourceString(IDS_DELETE_ITEMS_QUESTION),
                       LoadResourceString(IDS_DELETE_ITEMS_CAPTION), MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    Binder& controls = context_.controls;
    std::vector<Binder::SelectedEntry> selected = controls.SelectedEntries();
    controls.SetListRedraw(false);
    // Last to first, so the indices still to visit stay valid.
    for (auto entry = selected.rbegin(); entry != selected.rend(); ++entry) {
        if (context_.catalogue.DeleteItem(entry->item)) controls.DeleteEntry(entry->index);
    }
    controls.SetListRedraw(true);
    context_.status(std::wstring());
}

void ItemCommands::Rename() {
    if (!HasCurrentSelection()) return;
    context_.controls.EditLabel(context_.controls.FirstSelectedEntry());
}

void ItemCommands::EndRename(const NMLVDISPINFOW& edit) {
    if (!edit.item.pszText) return;  // cancelled
    int entry = edit.item.iItem;
    std::optional<std::string> text = ExactCp936FromWide(edit.item.pszText);
    if (!text) {
        TellUnstorableText(context_.owner, LoadResourceString(IDS_RENAME_FIELD),
                           LoadResourceString(IDS_RENAME_CAPTION));
        ReopenRename(entry, edit.item.pszText);
        return;
    }
    DisplayNameEdit verdict = CheckDisplayNameEdit(text);
    if (verdict != DisplayNameEdit::Accept) {
        Report(MessageOf(verdict), IDS_RENAME_CAPTION, IconFlagOf(IconFor(verdict)));
        ReopenRename(entry, edit.item.pszText);
        return;
    }
    Binder& controls = context_.controls;
    CatalogueNode* item = controls.ItemOfEntry(entry);
    if (!item || !context_.catalogue.RenameItem(item, *text) || !controls.RedrawEntry(entry))
        Report(IDS_RENAME_FAILED, IDS_RENAME_CAPTION, MB_ICONSTOP);
}

void ItemCommands::ReopenRename(int entry, const wchar_t* typed) {
    refusedName_ = typed;
    PostMessageW(context_.controls.List(), kRestartRenameMessage, static_cast<WPARAM>(entry), 0);
}

void ItemCommands::RestartRename(int entry) {
    HWND field = context_.controls.EditLabel(entry);
    if (!field) return;
    // The user goes on from what was typed, as in a dialog that refused it.
    SetWindowTextW(field, refusedName_.c_str());
    SendMessageW(field, EM_SETSEL, 0, -1);
}

void ItemCommands::MoveTo(int category) {
    if (!HasCurrentSelection()) return;
    Binder& controls = context_.controls;
    CatalogueNode* target = controls.CategoryOfTab(category);
    if (!target) return;
    // First to last keeps the moved items in their order at the target's end.
    for (const Binder::SelectedEntry& entry : controls.SelectedEntries())
        context_.catalogue.MoveItem(entry.item, target);
    context_.ShowCategory(category);
}

void ItemCommands::SelectAll() {
    Binder& controls = context_.controls;
    if (controls.CurrentTab() < 0) return;
    for (int i = 0, count = controls.EntryCount(); i < count; ++i) controls.SetSelected(i, true);
}

void ItemCommands::InvertSelection() {
    Binder& controls = context_.controls;
    if (controls.CurrentTab() < 0) return;
    for (int i = 0, count = controls.EntryCount(); i < count; ++i) controls.SetSelected(i, !controls.IsSelected(i));
}

void ItemCommands::ViewFile(int which) {
    std::string path = ExistingFileOfSelectionOrReport(which, IDS_VIEW_CAPTION);
    if (!path.empty()) ExploreAndSelect(path);
}

void ItemCommands::ShowProperties(int which) {
    std::string path = ExistingFileOfSelectionOrReport(which, IDS_PROPERTIES_CAPTION);
    if (!path.empty()) corvel::ShowProperties(path);
}

std::string ItemCommands::ExistingFileOfSelectionOrReport(int which, UINT caption) const {
    if (!HasCurrentSelection()) return {};
    const Binder& controls = context_.controls;
    ItemFields fields;
    if (!context_.catalogue.GetItemFields(controls.ItemOfEntry(controls.FirstSelectedEntry()), fields)) return {};
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
    std::string path = context_.paths.ProgramPathOfCommand(*command, true);
    if (path.empty() || FileExists(path)) return path;
    ShowMessageBox(context_.owner, FormatResourceString(missing, {WideFromCp936(fields.Name), WideFromCp936(path)}),
                   LoadResourceString(caption), MB_OK | MB_ICONSTOP);
    return {};
}

}  // namespace corvel::ui
