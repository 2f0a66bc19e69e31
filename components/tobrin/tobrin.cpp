// Tobrin: runs EXE and MSI installers and patch programs through its install
// dialog and waits for them to end.
#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include "catalogue/no_throw.h"
#include "catalogue/shell/shell_files.h"
#include "catalogue/win32_text.h"
#include "components/component_interface.h"
#include "components/tobrin/install_dialog.h"
#include "components/tobrin/program_files_dir.h"
#include "components/tobrin/tobrin_resource.h"
#include "components/tobrin/tobrin_rules.h"
#include "ui/window/message_box.h"
#include "ui/window/window.h"

using namespace corvel::tobrin;

namespace {

// The program the shell opens MSI files with; empty when there is none.
std::string MsiProgram(const std::string& file) {
    std::wstring wideFile = corvel::WideFromCp936(file);
    wchar_t program[MAX_PATH] = {};
    auto result = reinterpret_cast<INT_PTR>(FindExecutableW(wideFile.c_str(), nullptr, program));
    if (result <= 32) return {};
    std::string bytes = corvel::Cp936FromWide(program);
    return corvel::FileExists(bytes) ? bytes : std::string();
}

}  // namespace

// Puts back what a run that died while its installer ran left in the
// registry; Tobrin always accepts being loaded.
extern "C" int __stdcall Initialize(HWND /*mainFrame*/) {
    return corvel::NoThrow(0, [] {
        PutBackFolderValues();
        return 1;
    });
}

namespace {

int OpenStep(HWND owner, const char* itemName, const char* filePath, const char* parameters,
             const char* installFolder, int stepKind) {
    OpenRequest request;
    request.stepKind = stepKind;
    request.ownerIsWindow = IsWindow(owner) != FALSE;
    request.fileExists = filePath && corvel::FileExists(filePath);
    request.textsPresent = itemName && parameters && installFolder;
    request.filePath = filePath ? filePath : "";
    OpenDecision decision = DecideOpen(request);
    if (decision.answerNow) return decision.answer;

    InstallRequest install{itemName, filePath, parameters, installFolder, IsInstallerLabel(stepKind)};
    if (decision.type == ProgramType::Msi) {
        install.program = MsiProgram(filePath);
        if (install.program.empty()) {
            corvel::ui::ShowMessageBox(owner, corvel::ui::LoadResourceString(IDS_NO_MSI_PROGRAM),
                                       corvel::ui::LoadResourceString(IDS_INSTALL_CAPTION), MB_OK | MB_ICONSTOP);
            return corvel::kFailed;
        }
        install.parameters = MsiParameterText(parameters, filePath);
    }
    CInstallDialog dialog(install);
    INT_PTR answer = dialog.RunModal(owner);
    return answer < 0 ? corvel::kFailed : static_cast<int>(answer);
}

}  // namespace

// No exception may cross into the program that loaded us: it fails the step.
extern "C" int __stdcall Open(HWND owner, const char* itemName, const char* filePath, const char* parameters,
                              const char* installFolder, int stepKind) {
    return corvel::NoThrow(corvel::kFailed,
                           [&] { return OpenStep(owner, itemName, filePath, parameters, installFolder, stepKind); });
}

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        corvel::ui::SetResourceModule(instance);
        DisableThreadLibraryCalls(instance);
    } else if (reason == DLL_PROCESS_DETACH) {
        // The dialog that would have put the folder values back may never
        // have ended (its thread was ended); the change must not outlive us.
        corvel::NoThrow([] { PutBackFolderValues(); });
    }
    return TRUE;
}
