// The category name dialog, dialog 133, for New category and Edit category.
#pragma once

#include <string>

#include "ui/window/dialog.h"

namespace corvel::ui {

class CCategoryDialog : public Dialog {
public:
    // name is the initial text and, on OK, the checked name (code page 936).
    CCategoryDialog(std::string& name, bool newCategory);

    std::string& Name() { return name_; }
    bool IsNewCategory() const { return newCategory_; }

protected:
    bool OnInit() override;
    bool OnButtonClicked(int id) override;

private:
    // The dialog's caption, also that of its messages.
    std::wstring Caption() const;

    std::string& name_;
    bool newCategory_;
};

}  // namespace corvel::ui
