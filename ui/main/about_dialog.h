// The about box: the program icon, a word of thanks, the version and OK.
#pragma once

#include <string>

#include "ui/main/resource.h"
#include "ui/window/dialog.h"

namespace corvel::ui {

class AboutDialog : public Dialog {
public:
    AboutDialog() : Dialog(IDD_ABOUTBOX) {}

protected:
    bool OnInit() override;
};

// "版本 4.0.0.N" from the version resource of this process's program file,
// or empty when it has none.
std::wstring ProgramVersionText();

}  // namespace corvel::ui
