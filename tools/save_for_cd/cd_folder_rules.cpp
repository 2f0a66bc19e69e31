#include "tools/save_for_cd/cd_folder_rules.h"

#include <algorithm>

#include "catalogue/catalogue_file.h"
#include "catalogue/cp936.h"
#include "catalogue/paths.h"

namespace corvel {

namespace {

constexpr std::string_view kComponents = "Components";
constexpr std::string_view kExtTools = "ExtTools.ini";
constexpr std::string_view kAutoRun = "AutoRun.inf";

std::string Join(std::string_view folder, std::string_view name) {
    std::string path(folder);
    path += name;
    return path;
}

// The icon already lies where it would be copied to: copying a file onto
// itself fails and would cost the CD its AutoRun.inf.
bool IconIsInPlace(std::string_view iconPath, const std::string& saveFolder) {
    return EqualsIgnoreAsciiCase(iconPath, saveFolder + FileNameOf(iconPath));
}

void AddAutoRunSteps(std::vector<CdStep>& steps, const SaveForCdRequest& request, const std::string& saveFolder,
                     const std::string& programBaseName, CdFileSystem& files) {
    const std::string autoRun = Join(saveFolder, kAutoRun);
    if (!request.autorun) {
        // An AutoRun.inf of an earlier run would still start the CD.
        if (files.FileExists(autoRun))
            steps.push_back({autoRun, false, [&files, autoRun](auto&) { return files.RemoveFile(autoRun); }});
        return;
    }
    const std::string iconName = IsIconPath(request.iconText) ? FileNameOf(request.iconText) : std::string();
    if (!iconName.empty()) {
        steps.push_back({Join(saveFolder, iconName), true, [&files, &request, saveFolder](auto&) {
                             return files.FolderExists(saveFolder) &&
                                    (IconIsInPlace(request.iconText, saveFolder) ||
                                     files.CopyFileIntoFolder(request.iconText, saveFolder));
                         }});
    }
    steps.push_back(
        {autoRun, false, [&files, saveFolder, autoRun, text = AutoRunText(programBaseName, iconName)](auto&) {
             return files.FolderExists(saveFolder) && files.WriteWholeFile(autoRun, text);
         }});
}

}  // namespace

bool IsSameFolder(std::string_view a, std::string_view b) {
    return EqualsIgnoreAsciiCase(WithTrailingBackslash(a), WithTrailingBackslash(b));
}

bool IsIconPath(std::string_view path) {
    return EqualsIgnoreAsciiCase(ExtensionOfPath(path), "ICO");
}

std::string FileNameOf(std::string_view path) {
    std::size_t slash = FindLastChar(path, '\\');
    return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

std::string BaseNameOf(std::string_view path) {
    std::string name = FileNameOf(path);
    std::size_t dot = name.rfind('.');
    if (dot != std::string::npos) name.resize(dot);
    return name;
}

std::string AutoRunText(std::string_view programBaseName, std::string_view iconName) {
    std::string text = "[AUTORUN]\r\nOpen=";
    text += programBaseName;
    text += ".exe\r\n";
    if (!iconName.empty()) {
        text += "Icon=";
        text += iconName;
        text += "\r\n";
    }
    return text;
}

SaveForCdCheck CheckSaveForCd(const SaveForCdRequest& request, std::string_view programFolder, CdFileSystem& files) {
    SaveForCdCheck check;
    if (request.folderText.empty()) {
        check.refusal = SaveForCdRefusal::FolderEmpty;
        return check;
    }
    check.saveFolder = WithTrailingBackslash(request.folderText);
    if (IsSameFolder(check.saveFolder, programFolder)) {
        check.refusal = SaveForCdRefusal::ProgramFolder;
    } else if (!files.CreateFolderPath(Join(check.saveFolder, kComponents))) {
        check.refusal = SaveForCdRefusal::FolderNotCreated;
    } else if (request.autorun && !request.iconText.empty() && !IsIconPath(request.iconText)) {
        check.refusal = SaveForCdRefusal::NotAnIcon;
    } else if (request.autorun && !request.iconText.empty() && !files.FileExists(request.iconText)) {
        check.refusal = SaveForCdRefusal::IconMissing;
    } else if (request.categories.empty()) {
        check.refusal = SaveForCdRefusal::NoCategory;
    }
    return check;
}

MessageIcon IconFor(SaveForCdRefusal refusal) {
    return (refusal == SaveForCdRefusal::FolderEmpty || refusal == SaveForCdRefusal::NoCategory)
               ? MessageIcon::Exclamation
               : MessageIcon::Stop;
}

std::vector<CdStep> PlanCdSteps(const SaveForCdRequest& request, const std::string& saveFolder,
                                const ProgramFiles& program, const Catalogue& catalogue, CdFileSystem& files) {
    std::vector<CdStep> steps;
    steps.push_back(
        {Join(saveFolder, FileNameOf(program.file)), true,
         [&files, file = program.file, saveFolder](auto&) { return files.CopyFileIntoFolder(file, saveFolder); }});
    // Without its components the copied program could not start from the CD.
    steps.push_back(
        {Join(saveFolder, kComponents), true,
         [&files, source = Join(program.folder, kComponents), target = Join(saveFolder, kComponents)](
             std::vector<std::string>& notSaved) { return files.CopyFolderTree(source, target, notSaved); }});
    const std::string catalogueFile = CatalogueFilePath(saveFolder, FileNameOf(program.file));
    steps.push_back({catalogueFile, false, [&files, &catalogue, &request, catalogueFile](auto&) {
                         return files.SaveCatalogue(catalogue, catalogueFile, request.categories);
                     }});
    const std::string extTools = Join(program.folder, kExtTools);
    if (files.FileExists(extTools)) {
        steps.push_back({Join(saveFolder, kExtTools), false, [&files, extTools, saveFolder](auto&) {
                             return files.CopyFileIntoFolder(extTools, saveFolder);
                         }});
    }
    AddAutoRunSteps(steps, request, saveFolder, BaseNameOf(program.file), files);
    return steps;
}

std::vector<std::string> RunCdSteps(const std::vector<CdStep>& steps) {
    std::vector<std::string> notSaved;
    for (std::size_t i = 0; i < steps.size(); ++i) {
        if (steps[i].run(notSaved)) continue;
        notSaved.push_back(steps[i].target);
        if (!steps[i].gate) continue;
        for (std::size_t skipped = i + 1; skipped < steps.size(); ++skipped) notSaved.push_back(steps[skipped].target);
        break;
    }
    return notSaved;
}

std::vector<std::string> LeftoverComponents(const std::string& saveFolder, const ProgramFiles& program,
                                            CdFileSystem& files) {
    const std::vector<std::string> copied = files.ComponentFiles(Join(program.folder, kComponents));
    const std::string target = Join(saveFolder, kComponents);
    std::vector<std::string> leftover;
    for (const std::string& name : files.ComponentFiles(target)) {
        bool copiedNow = std::any_of(copied.begin(), copied.end(),
                                     [&](const std::string& other) { return EqualsIgnoreAsciiCase(name, other); });
        if (!copiedNow) leftover.push_back(target + "\\" + name);
    }
    return leftover;
}

}  // namespace corvel
