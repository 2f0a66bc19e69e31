#include "ui/category_dialog/category_dialog.h"

#include <optional>
#include <string_view>

#include "catalogue/catalogue_model.h"
#include "ui/category_dialog/category_name_check.h"
#include "ui/main/resource.h"

namespace corvel::ui {

namespace {

UINT MessageOf(CategoryNameVerdict verdict) {
    switch (verdict) {
        case CategoryNameVerdict::Empty:
            return IDS_CATEGORY_NAME_EMPTY;
        case CategoryNameVerdict::TooLong:
            return IDS_CATEGORY_NAME_TOO_LONG;
        default:
            return IDS_CATEGORY_NAME_DOUBLE_BACKSLASH;
    }
}

std::wstring ReplaceAll(std::wstring text, std::wstring_view from, std::wstring_view to) {
    for (std::size_t at = text.find(from); at != std::wstring::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

}  // namespace

CCategoryDialog::CCategoryDialog(std::string& name, bool newCategory)
    : Dialog(IDD_CATEGORY), name_(name), newCategory_(newCategory) {}

std::wstring CCategoryDialog::Caption() const {
    return LoadResourceString(newCategory_ ? IDS_CATEGORY_NEW_CAPTION : IDS_CATEGORY_EDIT_CAPTION);
}

bool CCategoryDialog::OnInit() {
    SetText(Caption());
    SetCp936Text(IDC_CATEGORY_NAME, name_);
    Window edit = Item(IDC_CATEGORY_NAME);
    edit.Send(EM_SETSEL, 0, 65535);
    edit.Send(EM_SCROLLCARET);
    SetFocus(edit.Handle());
    return false;  // the focus is set
}

bool CCategoryDialog::OnButtonClicked(int id) {
    if (id != IDOK) return Dialog::OnButtonClicked(id);
    std::optional<std::string> typed = TypedText(IDC_CATEGORY_NAME);
    if (!typed) return true;
    CategoryNameCheck check = CheckCategoryName(*typed);
    if (!check.Accepted()) {
        std::wstring text =
            ReplaceAll(LoadResourceString(MessageOf(check.verdict)), L"%i", std::to_wstring(kMaxCategoryNameBytes));
        Tell(text, IconFor(check.verdict));  // under the dialog's title, Caption()
        return true;
    }
    name_ = std::move(check.name);
    End(IDOK);
    return true;
}

}  // namespace corvel::ui
