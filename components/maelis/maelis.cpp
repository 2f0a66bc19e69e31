// Maelis: restores an installed program's settings, by importing a registry
// export or copying a data file. Exports Open only.
#include <windows.h>

#include <string>

#include "catalogue/no_throw.h"
#include "catalogue/shell/shell_files.h"
#include "components/component_interface.h"
#include "components/maelis/maelis_rules.h"
#include "components/maelis/settings_dialog.h"
#include "ui/window/window.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        DisableThreadLibraryCalls(instance);
        // The dialog and its strings live in this library, not in the program.
        corvel::ui::SetResourceModule(instance);
    }
    return TRUE;
}

namespace {

int OpenStep(HWND owner, const char* itemName, const char* filePath, const char* installFolder, int stepKind) {
    using namespace corvel::maelis;
    std::string path = filePath ? filePath : "";
    int answer = AnswerBeforeDialog(stepKind, IsWindow(owner) != FALSE, corvel::FileExists(path));
    if (answer != kRunDialog) return answer;
    CSettingsDialog dialog(itemName ? itemName : "", path, installFolder ? installFolder : "");
    INT_PTR code = dialog.RunModal(owner);
    return code < 0 ? corvel::kFailed : static_cast<int>(code);
}

}  // namespace

// No exception may cross into the program that loaded us: it fails the step.
extern "C" int __stdcall Open(HWND owner, const char* itemName, const char* filePath, const char* /*parameters*/,
                              const char* installFolder, int stepKind) {
    return corvel::NoThrow(corvel::kFailed,
                           [&] { return OpenStep(owner, itemName, filePath, installFolder, stepKind); });
}
