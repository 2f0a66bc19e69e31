#include "ui/main/install_commands.h"

#include <vector>

#include "catalogue/shell/shell_files.h"
#include "catalogue/win32_text.h"
#include "engine/clipboard_win32.h"
#include "engine/hot_key_typing_win32.h"
#include "engine/install_task.h"
#include "ui/main/resource.h"
#include "ui/window/message_box.h"
#include "ui/window/window.h"

namespace corvel::ui {

namespace {

// Caption and texts of one step's messages.
struct StepTexts {
    unsigned step;
    UINT caption, missing, failed, noComponent;
};

constexpr StepTexts kStepTexts[] = {
    {kInstallerStep, IDS_INSTALL_CAPTION, IDS_INSTALLER_MISSING, IDS_INSTALLER_FAILED, IDS_INSTALLER_NO_COMPONENT},
    {kPatchStep, IDS_PATCH_CAPTION, IDS_PATCH_MISSING, IDS_PATCH_FAILED, IDS_PATCH_NO_COMPONENT},
    {kSettingsStep, IDS_SETTINGS_CAPTION, IDS_SETTINGS_MISSING, IDS_SETTINGS_FAILED, IDS_SETTINGS_NO_COMPONENT},
};

// What the task meets on the worker thread: the catalogue and the
// components, the file system, the clipboard and message boxes owned by
// the main frame. Nothing else of the view.
class TaskServices : public InstallServices {
public:
    TaskServices(const Catalogue& catalogue, const ComponentHost& components, HWND owner,
                     RegistrationText& registration, const InstallWorker& worker)
        : catalogue_(catalogue), components_(components), owner_(owner), registration_(registration), worker_(worker) {}

    bool ReadItem(const CatalogueNode* item, ItemFields& fields) override {
        return catalogue_.GetItemFields(item, fields);
    }
    bool StopRequested() override { return worker_.StopRequested(); }
    bool FileExists(const std::string& path) override { return corvel::FileExists(path); }
    unsigned long LogicalDrives() override { return GetLogicalDrives(); }
    void SetRegistrationText(const std::string& text) override {
        registration_.Set(text);
        PutTextOnClipboard(text);
    }
    int Dispatch(const std::string& name, const std::string& file, const std::string& parameters,
                 const std::string& installFolder, unsigned step) override {
        return components_.Dispatch(owner_, name.c_str(), file.c_str(), parameters.c_str(), installFolder.c_str(),
                                    static_cast<int>(step));
    }
    void ShowMessage(const InstallMessage& message) override {
        for (const StepTexts& texts : kStepTexts) {
            if (texts.step != message.step) continue;
            std::wstring name = WideFromCp936(message.name);
            std::wstring text;
            UINT icon = MB_ICONSTOP;
            switch (message.kind) {
                case InstallMessageKind::FileMissing:
                    text = FormatResourceString(texts.missing, {name, WideFromCp936(message.path)});
                    if (message.missingDrive) {
                        const std::wstring drive{static_cast<wchar_t>(message.missingDrive), L':'};
                        text += L"\n\n" + FormatResourceString(IDS_DRIVE_MISSING, {drive});
                    }
                    break;
                case InstallMessageKind::ComponentFailed:
                    text = FormatResourceString(texts.failed, {name});
                    break;
                case InstallMessageKind::NoComponent:
                    text = FormatResourceString(texts.noComponent, {name});
                    icon = MB_ICONEXCLAMATION;
                    break;
            }
            ShowMessageBox(owner_, text, LoadResourceString(texts.caption), MB_OK | icon);
        }
    }

private:
    const Catalogue& catalogue_;
    const ComponentHost& components_;
    HWND owner_;
    RegistrationText& registration_;
    const InstallWorker& worker_;
};

}  // namespace

void InstallCommands::Start(unsigned flags) {
    const Binder& controls = context_.controls;
    if (controls.TabCount() == 0 || controls.CurrentTab() < 0) return;
    // The rows are taken once, here: the guard keeps them from changing
    // while the task runs.
    std::vector<const CatalogueNode*> items = context_.SelectedItems();
    // A component is code of others, and one that crashes ends Corvel with
    // it: what the run changed is on disk before the first one is called.
    saveChanges_();
    TaskServices services(context_.catalogue, components_, context_.owner, registration_, worker_);
    worker_.Start([services, &paths = context_.paths, items = std::move(items), flags]() mutable {
        RunInstallTask(services, paths, items, flags);
    });
}

void InstallCommands::FetchRegistrationText() {
    const Binder& controls = context_.controls;
    if (controls.TabCount() == 0 || controls.CurrentTab() < 0) return;
    ItemFields fields;
    if (!context_.catalogue.GetItemFields(controls.ItemOfEntry(controls.FirstSelectedEntry()), fields)) return;
    registration_.Set(fields.Regcode);
    PutTextOnClipboard(fields.Regcode);
}

void InstallCommands::TypeRegistrationText() {
    corvel::TypeRegistrationText(registration_.Get());
}

int InstallCommands::EndTask(unsigned bits) {
    return worker_.EndTask(bits, [this] {
        return ShowMessageBox(context_.owner, LoadResourceString(IDS_END_TASK_QUESTION),
                              LoadResourceString(IDS_END_TASK_CAPTION),
                              MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) == IDYES;
    });
}

bool InstallCommands::EndRunningTaskIfUserAgrees() {
    int answer = EndTask(kEndTaskAsk);
    if (answer != kTaskStopping) return answer == kNoTaskRunning;
    // The task stops between steps; one still inside a component's Open
    // cannot end in this second.
    if (worker_.WaitForEnd(1000)) return true;
    ShowMessageBox(context_.owner, LoadResourceString(IDS_END_TASK_FAILED), LoadResourceString(IDS_END_TASK_CAPTION),
                   MB_OK | MB_ICONEXCLAMATION);
    return false;
}

}  // namespace corvel::ui
