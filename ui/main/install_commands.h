// The catalogue view's install commands: install, install patch, restore
// settings, fetch the registration text, Ctrl+R, and ending a running task
// (the install-task guard the view asks before a catalogue-changing command).
#pragma once

#include <windows.h>

#include <functional>

#include "engine/component_host.h"
#include "engine/install_worker_win32.h"
#include "engine/registration_text.h"
#include "ui/main/command_context.h"

namespace corvel::ui {

class InstallCommands {
public:
    // saveChanges writes a changed catalogue before a task calls the first
    // component.
    InstallCommands(const CommandContext& context, const ComponentHost& components, std::function<void()> saveChanges)
        : context_(context), components_(components), saveChanges_(std::move(saveChanges)) {}

    // Starts a task over the selected entries with the steps flags names:
    // all three, or only the patch (kPatchStep) or the settings (kSettingsStep).
    void Start(unsigned flags);
    void FetchRegistrationText();
    void TypeRegistrationText();
    // The end-task request; an EndTaskAnswer.
    int EndTask(unsigned bits);
    // Asks the user whether to end a running task, ends it on Yes and waits
    // a second for it. True when no task runs any more.
    bool EndRunningTaskIfUserAgrees();

private:
    const CommandContext& context_;
    const ComponentHost& components_;
    std::function<void()> saveChanges_;
    RegistrationText registration_;
    InstallWorker worker_;  // last: a running task still reads the members above
};

}  // namespace corvel::ui
