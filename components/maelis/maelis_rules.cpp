#include "components/maelis/maelis_rules.h"

#include "catalogue/cp936.h"

namespace corvel::maelis {

int AnswerBeforeDialog(int stepKind, bool ownerIsWindow, bool fileExists) {
    if (!(stepKind & kSettingsStep)) return kNotMine;
    if (!ownerIsWindow || !fileExists) return kFailed;
    return kRunDialog;
}

std::string FileNamePart(std::string_view path) {
    std::size_t slash = FindLastChar(path, '\\');
    return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

std::string SettingsExtension(std::string_view path) {
    std::string name = FileNamePart(path);
    std::size_t dot = FindLastChar(name, '.');
    return dot == std::string::npos ? std::string() : name.substr(dot + 1);
}

bool IsRegistryFile(std::string_view path) {
    return EqualsIgnoreAsciiCase(SettingsExtension(path), "REG");
}

std::string DestinationPath(std::string_view folder, std::string_view file) {
    std::string destination(folder);
    if (!EndsWithChar(folder, '\\')) destination += '\\';
    return destination + FileNamePart(file);
}

FolderVerdict CheckTargetFolder(std::string_view folder, const std::function<bool(const std::string&)>& folderExists) {
    if (folder.empty()) return FolderVerdict::Empty;
    std::string_view rest = folder;
    if (EndsWithChar(rest, '\\')) rest.remove_suffix(1);
    if (rest.empty() || !folderExists(std::string(rest))) return FolderVerdict::Missing;
    return FolderVerdict::Ok;
}

std::string RegeditParameters(std::string_view file) {
    std::string parameters = "/s \"";
    parameters += file;
    parameters += '"';
    return parameters;
}

std::string RegeditProgram(std::string_view windowsFolder, bool wow64) {
    if (!wow64 || windowsFolder.empty()) return "regedit.exe";
    std::string program(windowsFolder);
    if (!EndsWithChar(program, '\\')) program += '\\';
    return program + "regedit.exe";
}

Mode InitialMode(std::string_view path) {
    return IsRegistryFile(path) ? Mode::Registry : Mode::DataFile;
}

ModeControls ControlsFor(Mode mode) {
    bool registry = mode == Mode::Registry;
    return {registry, !registry, registry, !registry};
}

OkOutcome DecideOk(Mode mode, std::string_view file, bool fileExists, std::string_view folder,
                   const std::function<bool(const std::string&)>& folderExists) {
    if (!fileExists) return OkOutcome::FileMissing;
    if (mode == Mode::Registry) return IsRegistryFile(file) ? OkOutcome::Import : OkOutcome::ImportRefused;
    switch (CheckTargetFolder(folder, folderExists)) {
        case FolderVerdict::Empty:
            return OkOutcome::FolderEmpty;
        case FolderVerdict::Missing:
            return OkOutcome::FolderMissing;
        default:
            return OkOutcome::Copy;
    }
}

}  // namespace corvel::maelis
