#include "components/tobrin/tobrin_rules.h"

#include "catalogue/cp936.h"
#include "catalogue/paths.h"

namespace corvel::tobrin {

ProgramType ProgramTypeOfPath(std::string_view path) {
    std::string extension = ExtensionOfPath(path);
    if (EqualsIgnoreAsciiCase(extension, "EXE")) return ProgramType::Exe;
    if (EqualsIgnoreAsciiCase(extension, "MSI")) return ProgramType::Msi;
    return ProgramType::Other;
}

OpenDecision DecideOpen(const OpenRequest& request) {
    if (!(request.stepKind & (kInstallerStep | kPatchStep))) return {true, kNotMine, ProgramType::Other};
    if (!request.ownerIsWindow || !request.fileExists || !request.textsPresent)
        return {true, kFailed, ProgramType::Other};
    ProgramType type = ProgramTypeOfPath(request.filePath);
    if (type == ProgramType::Other) return {true, kNotMine, type};
    return {false, kDone, type};
}

std::string MsiParameterText(std::string_view parameters, std::string_view file) {
    // msiexec takes the word after /i as the package.
    std::string text = "/i \"";
    text += file;
    text += '"';
    if (!parameters.empty()) text += ' ';
    text += parameters;
    return text;
}

bool InstallFolderAcceptable(std::string_view folder) {
    if (folder.empty()) return true;
    return ClassifyPath(TrimLeft(folder, " ")) == PathKind::Absolute;
}

std::wstring KeptValueName(std::wstring_view valueName) {
    return L"CorvelSaved" + std::wstring(valueName);
}

KeepStep KeepStepFor(const FolderValueState& state, std::wstring_view folder, bool createWhenMissing) {
    if (state.originalKept) return KeepStep::AlreadyKept;
    if (!state.current) return createWhenMissing ? KeepStep::NothingToKeep : KeepStep::LeaveAlone;
    if (state.current->empty() || *state.current == folder) return KeepStep::NothingToKeep;
    return KeepStep::KeepCurrent;
}

}  // namespace corvel::tobrin
