// The catalogue view's install commands: install, install patch, restore
// settings, fetch the registration text, Ctrl+R, and ending a running task
// (the install-task guard that every catalogue-changing command runs).
#pragma once

#include <windows.h>

#include "install_worker_win32.h"
#include "registration_text.h"

namespace corvel::ui {

class CCorvelView;

class InstallCommands {
public:
    explicit InstallCommands(CCorvelView& view) : view_(view) {}

    // Starts a task over the selected entries with install flags 7, 2 or 4.
    void Start(unsigned flags);
    void FetchRegistrationText();
    void TypeRegistrationText();
    // The end-task request; an EndTaskAnswer.
    int EndTask(unsigned bits);
    // True when no task runs, or the running one ended on the user's word.
    bool GuardAllows();

private:
    CCorvelView& view_;
    RegistrationText registration_;
    InstallWorker worker_;  // last: a running task still reads the members above
};

}  // namespace corvel::ui
