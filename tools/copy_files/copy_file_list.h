// The copy files dialog's list: one row per file with a check box; rows of
// missing files are ghosted.
#pragma once

#include <windows.h>

#include <vector>

#include "copy_file_rows.h"
#include "window.h"

namespace corvel::ui {

class CopyFileList : public Window {
public:
    CopyFileList() = default;
    explicit CopyFileList(HWND list) : Window(list) {}

    // Columns, check boxes, full-row selection and info tips.
    void SetUp() const;
    // A file that exists starts checked, a missing one unchecked and ghosted.
    void Fill(const std::vector<CopyFileRow>& rows) const;

    int Count() const;
    std::vector<bool> Checked() const;
    std::vector<bool> Selected() const;
    void SetChecked(int row, bool checked) const;
    void SetSelected(const std::vector<bool>& selected) const;
};

}  // namespace corvel::ui
