// The item editor, dialog 134: fills in or changes one install item's seven
// fields and hands them back only when they pass the checks.
#pragma once

#include <string>

#include "catalogue/catalogue_model.h"
#include "ui/window/dialog.h"

namespace corvel::ui {

enum class ItemEditorMode { Add, Edit };

class CItemEditorDialog : public Dialog {
public:
    // record is read on opening and written on OK (Regcode with CR LF).
    CItemEditorDialog(ItemFields& record, ItemEditorMode mode);

    ItemFields& Record() { return record_; }
    ItemEditorMode Mode() const { return mode_; }

protected:
    bool OnInit() override;
    bool OnButtonClicked(int id) override;

private:
    std::wstring Caption() const;
    void Accept();
    void InsertSeparator();

    ItemFields& record_;
    ItemEditorMode mode_;
};

}  // namespace corvel::ui
