// The copy files dialog's list: one row per file with a check box; rows of
// missing files are ghosted.
#pragma once

#include <windows.h>

#include <vector>

#include "tools/copy_files/copy_file_rows.h"
#include "ui/window/list_view.h"

namespace corvel::ui {

class CopyFileList : public ListView {
public:
    CopyFileList() = default;
    explicit CopyFileList(HWND list) : ListView(list) {}

    // Columns, check boxes, full-row selection and info tips.
    void SetUp() const;
    // A file that exists starts checked, a missing one unchecked and ghosted.
    void Fill(const std::vector<CopyFileRow>& rows) const;

    std::vector<bool> Selected() const;
    void SetSelected(const std::vector<bool>& selected) const;
};

}  // namespace corvel::ui
