#include "tobrin_rules.h"

#include "cp936.h"
#include "paths.h"

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
    std::string text = "/i ";
    text += parameters;
    if (!parameters.empty()) text += ' ';
    text += '"';
    text += file;
    text += '"';
    return text;
}

bool InstallFolderAcceptable(std::string_view folder) {
    if (folder.empty()) return true;
    return ClassifyPath(TrimLeft(folder, " ")) == PathKind::Absolute;
}

std::string WorkingFolderOf(std::string_view resolvedProgram) {
    std::size_t slash = FindLastChar(resolvedProgram, '\\');
    if (slash == std::string_view::npos) return {};
    return std::string(resolvedProgram.substr(0, slash));
}

std::wstring KeptValueName(std::wstring_view valueName) {
    return L"CorvelSaved" + std::wstring(valueName);
}

KeepStep KeepStepFor(const FolderValueState& state) {
    if (state.originalKept) return KeepStep::AlreadyKept;
    if (!state.current || state.current->empty()) return KeepStep::NothingToKeep;
    return KeepStep::KeepCurrent;
}

}  // namespace corvel::tobrin
