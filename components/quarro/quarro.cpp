// Quarro: starts an installer through the shell, whatever its type, and
// reports the step done once the started program is ready for input.
#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include <string>

#include "catalogue/long_path.h"
#include "catalogue/no_throw.h"
#include "catalogue/shell/shell_launch.h"
#include "catalogue/unique_handle.h"
#include "catalogue/win32_text.h"
#include "components/component_interface.h"
#include "ui/window/window.h"

namespace {

using corvel::kAbandonItem;
using corvel::kDone;
using corvel::kFailed;

constexpr DWORD kReadyTimeoutMs = 10000;
constexpr const wchar_t kTitleSuffix[] = L" - Quarro组件版";

}  // namespace

extern "C" int __stdcall Initialize(HWND mainFrame) {
    return corvel::NoThrow(0, [&] {
        const corvel::ui::Window frame(mainFrame);
        frame.SetText(frame.Text() + kTitleSuffix);
        return 1;
    });
}

namespace {

int OpenStep(const char* filePath, const char* parameters, const char* installFolder, int stepKind) {
    // Patch programs and settings files are not ours, and no later component may take them either.
    if (!(stepKind & corvel::kInstallerStep)) return kAbandonItem;
    if (!filePath || !*filePath) return kAbandonItem;
    std::wstring file = corvel::WideFromCp936(filePath);
    DWORD attributes = GetFileAttributesW(corvel::LongPathFromWide(file).c_str());
    if (file.empty() || attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        return kAbandonItem;
    }
    file = corvel::StartablePath(file);
    std::wstring params = parameters ? corvel::WideFromCp936(parameters) : std::wstring();
    std::wstring folder = installFolder ? corvel::StartablePath(corvel::WideFromCp936(installFolder)) : std::wstring();

    SHELLEXECUTEINFOW info = {};
    info.cbSize = sizeof info;
    // A failed start is reported through the answer; the shell's own message
    // box would come from the install worker, without an owner, on top of
    // the install task's message.
    info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
    info.lpVerb = L"open";
    info.lpFile = file.c_str();
    info.lpParameters = params.empty() ? nullptr : params.c_str();
    info.lpDirectory = folder.empty() ? nullptr : folder.c_str();
    info.nShow = SW_SHOWNORMAL;
    if (!ShellExecuteExW(&info) || !info.hProcess) return kFailed;

    // The step is done once the installer is ready for input; its end is not awaited.
    corvel::UniqueHandle process(info.hProcess);
    WaitForInputIdle(process.get(), kReadyTimeoutMs);
    return kDone;
}

}  // namespace

// No exception may cross into the program that loaded us: it fails the step.
extern "C" int __stdcall Open(HWND /*owner*/, const char* /*itemName*/, const char* filePath, const char* parameters,
                              const char* installFolder, int stepKind) {
    return corvel::NoThrow(kFailed, [&] { return OpenStep(filePath, parameters, installFolder, stepKind); });
}

extern "C" void __stdcall PreUnloadDll() {}
