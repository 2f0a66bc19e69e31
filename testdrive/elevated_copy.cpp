#include "testdrive/elevated_copy.h"

#include <shellapi.h>

#include "catalogue/shell/shell_files.h"
#include "catalogue/unique_handle.h"
#include "testdrive/fennick_dialog.h"

namespace corvel::testdrive {

namespace {

// Long enough for a slow machine; the copy itself only touches the table.
constexpr DWORD kCopyTimeout = 30000;

bool HasLimitedSplitToken() {
    UniqueHandle token;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, token.put())) return false;
    TOKEN_ELEVATION_TYPE type = TokenElevationTypeDefault;
    DWORD size = 0;
    const bool known = GetTokenInformation(token.get(), TokenElevationType, &type, sizeof type, &size) != 0;
    return known && type == TokenElevationTypeLimited;
}

std::wstring OwnPath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) return {};
        if (length < path.size()) return path.substr(0, length);
        path.resize(path.size() * 2);
    }
}

}  // namespace

ElevatedCopy MirrorForElevated(HWND owner, const HiddenRequest& request) {
    if (!HasLimitedSplitToken()) return ElevatedCopy::NotNeeded;
    const std::wstring program = OwnPath();
    const std::wstring parameters = HiddenParameters(request);
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_NOASYNC;
    info.hwnd = owner;
    info.lpVerb = L"runas";  // asks for elevation even though the manifest does not
    info.lpFile = program.c_str();
    info.lpParameters = parameters.c_str();
    info.nShow = SW_HIDE;
    if (!ShellExecuteExW(&info)) {
        return GetLastError() == ERROR_CANCELLED ? ElevatedCopy::Declined : ElevatedCopy::Failed;
    }
    UniqueHandle process(info.hProcess);
    if (!process) return ElevatedCopy::Failed;
    DWORD code = kHiddenFailed;
    const bool answered =
        WaitForSingleObject(process.get(), kCopyTimeout) == WAIT_OBJECT_0 && GetExitCodeProcess(process.get(), &code);
    return answered && code == kHiddenDone ? ElevatedCopy::Done : ElevatedCopy::Failed;
}

unsigned long RunHiddenRequest(const HiddenRequest& request) {
    const bool folderExists = !request.folder.empty() && FolderExists(request.folder);
    bool done = false;
    switch (DecideHiddenStep(request, QueryDriveTarget(request.letter), folderExists)) {
        case HiddenStep::Define:
            done = DefineDosDeviceW(0, request.letter.c_str(), request.folder.c_str()) != 0;
            break;
        case HiddenStep::Remove:
            done = DefineDosDeviceW(DDD_REMOVE_DEFINITION, request.letter.c_str(), nullptr) != 0;
            break;
        case HiddenStep::AlreadyDone:
            done = true;
            break;
        case HiddenStep::Refuse:
            break;
    }
    return done ? kHiddenDone : kHiddenFailed;
}

}  // namespace corvel::testdrive
