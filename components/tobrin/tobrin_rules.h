// What Tobrin decides, free of Win32 so that it is tested natively.
// Texts are code page 936 bytes.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "components/component_interface.h"

namespace corvel::tobrin {

enum class ProgramType { Exe, Msi, Other };

// By the extension of the last path component, letter case ignored.
ProgramType ProgramTypeOfPath(std::string_view path);

// What Open does before any dialog: answer at once, or go on with an EXE or an MSI.
struct OpenDecision {
    bool answerNow = true;
    int answer = kNotMine;
    ProgramType type = ProgramType::Other;
};

struct OpenRequest {
    int stepKind = 0;
    bool ownerIsWindow = false;
    bool fileExists = false;
    // Item name, parameters and install folder were all passed.
    bool textsPresent = false;
    std::string_view filePath;
};

OpenDecision DecideOpen(const OpenRequest& request);

// msiexec's command line for installing file with the user's parameters:
// /i, the quoted path, then a blank and the parameters when there are any.
std::string MsiParameterText(std::string_view parameters, std::string_view file);

// True when the installer step's label applies; the patch label otherwise.
inline bool IsInstallerLabel(int stepKind) {
    return stepKind == kInstallerStep;
}

// An empty folder leaves ProgramFilesDir alone; any other must be absolute
// (drive letter, colon, backslash), leading blanks aside.
bool InstallFolderAcceptable(std::string_view folder);

// While an installer runs, the registry values that installers take their
// proposed folder from point at the chosen folder. The original of each is
// kept beside it under this name until it is put back, so that a run that
// dies meanwhile leaves it for the next one to put back.
std::wstring KeptValueName(std::wstring_view valueName);

// A folder value as the registry holds it before it is changed.
struct FolderValueState {
    // None when the value is missing or not a string.
    std::optional<std::wstring> current;
    bool originalKept = false;
};

enum class KeepStep {
    // Keep the current value, then change it.
    KeepCurrent,
    // An original is still kept from an earlier change whose put-back
    // failed: the current value is that change's, and the kept one stays.
    AlreadyKept,
    // Changed and never put back: a missing or empty value, or one that
    // names the folder already (so also the same key met a second time,
    // as on 32-bit Windows, where both views are one).
    NothingToKeep,
    // A missing value that only the system may create: left missing.
    LeaveAlone,
};

// createWhenMissing: whether a missing value is written at all.
KeepStep KeepStepFor(const FolderValueState& state, std::wstring_view folder, bool createWhenMissing);

}  // namespace corvel::tobrin
