// The about box: the program icon, a word of thanks and OK.
#pragma once

#include "dialog.h"
#include "resource.h"

namespace corvel::ui {

class AboutDialog : public Dialog {
public:
    AboutDialog() : Dialog(IDD_ABOUTBOX) {}
};

}  // namespace corvel::ui
