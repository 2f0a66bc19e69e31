// A thin wrapper around a report-view list control with a check box on each
// row, as the tools' dialogs show their choices.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "ui/window/window.h"

namespace corvel::ui {

class ListView : public Window {
public:
    ListView() = default;
    explicit ListView(HWND list) : Window(list) {}

    // Check boxes and full-row selection, with extraStyles (LVS_EX_*).
    void SetUpCheckBoxes(DWORD extraStyles = 0) const;
    // One column as wide as the list, titled title, and check boxes.
    void SetUpCheckList(const std::wstring& title) const;
    // Column index, width pixels wide.
    void AddColumn(int index, const std::wstring& title, int width) const;
    // A row at the end, with text in its first column and data; its index,
    // or -1 when the list refused it.
    int AddRow(const std::wstring& text, LPARAM data = 0) const;
    void SetCell(int row, int column, const std::wstring& text) const;
    std::wstring RowText(int row) const;
    LPARAM RowData(int row) const;

    int Count() const;
    // The first selected row, -1 when none is.
    int FirstSelectedRow() const;
    bool IsChecked(int row) const;
    void SetChecked(int row, bool checked) const;
    // One entry per row.
    std::vector<bool> CheckedRows() const;
    // Gives a filled list's first row the focus when no row has it, so that
    // the list, once tabbed into, shows the row the space bar ticks.
    void FocusFirstRow() const;
};

}  // namespace corvel::ui
