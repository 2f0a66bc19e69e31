// What Save for CD decides: the checks run on OK, the steps that fill the
// save folder, and the AutoRun.inf text. Portable: the file system comes in
// through CdFileSystem.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "catalogue/catalogue_model.h"
#include "catalogue/names.h"

namespace corvel {

// What the steps ask of the file system. Paths are full paths in code page 936.
class CdFileSystem {
public:
    virtual ~CdFileSystem() = default;
    virtual bool FileExists(const std::string& path) = 0;
    virtual bool FolderExists(const std::string& path) = 0;
    virtual bool CreateFolderPath(const std::string& path) = 0;
    // Both overwrite what is there. The tree copy goes on past a file it
    // cannot copy and adds its target path to notCopied.
    virtual bool CopyFileIntoFolder(const std::string& file, const std::string& folder) = 0;
    virtual bool CopyFolderTree(const std::string& source, const std::string& target,
                                std::vector<std::string>& notCopied) = 0;
    // The names of the files in folder that Corvel loads as components.
    virtual std::vector<std::string> ComponentFiles(const std::string& folder) = 0;
    virtual bool SaveCatalogue(const Catalogue& catalogue, const std::string& path,
                               const std::vector<const CatalogueNode*>& categories) = 0;
    virtual bool WriteWholeFile(const std::string& path, std::string_view data) = 0;
    virtual bool RemoveFile(const std::string& path) = 0;
};

// What the dialog holds when OK is pressed.
struct SaveForCdRequest {
    std::string folderText;  // the save folder field
    bool autorun = false;
    std::string iconText;                          // the icon field
    std::vector<const CatalogueNode*> categories;  // checked rows, top to bottom
};

// The running program.
struct ProgramFiles {
    std::string file;    // full path
    std::string folder;  // ends with a backslash
};

// In the order the checks run; each value is also the offset of its message.
enum class SaveForCdRefusal {
    None = 0,
    FolderEmpty,
    ProgramFolder,
    FolderNotCreated,
    NotAnIcon,
    IconMissing,
    NoCategory
};

struct SaveForCdCheck {
    SaveForCdRefusal refusal = SaveForCdRefusal::None;
    std::string saveFolder;  // the folder text with a trailing backslash

    bool Accepted() const { return refusal == SaveForCdRefusal::None; }
};

// Runs the checks; the Components folder inside the save folder is created
// on the way and stays even when a later check refuses.
SaveForCdCheck CheckSaveForCd(const SaveForCdRequest& request, std::string_view programFolder, CdFileSystem& files);

MessageIcon IconFor(SaveForCdRefusal refusal);

// Text comparison only: letter case ignored, a trailing backslash optional.
bool IsSameFolder(std::string_view a, std::string_view b);

// The extension is "ico" in any letter case.
bool IsIconPath(std::string_view path);

// The part of a path after its last backslash (the whole path without one).
std::string FileNameOf(std::string_view path);

// The file name without its extension.
std::string BaseNameOf(std::string_view path);

// The bytes of AutoRun.inf: CR LF lines, no Icon line when iconName is empty.
std::string AutoRunText(std::string_view programBaseName, std::string_view iconName);

// One piece written into the save folder.
struct CdStep {
    std::string target;
    // When it fails, the steps after it are not run.
    bool gate = false;
    // False when the piece as a whole failed; a file inside it that could
    // not be written goes to notSaved.
    std::function<bool(std::vector<std::string>& notSaved)> run;
};

// The steps after the checks, in order. request, catalogue and files must
// outlive the steps.
std::vector<CdStep> PlanCdSteps(const SaveForCdRequest& request, const std::string& saveFolder,
                                const ProgramFiles& program, const Catalogue& catalogue, CdFileSystem& files);

// Runs the steps; the targets of the failed steps and of those a failed gate
// left out, and the files a step could not write, in order.
std::vector<std::string> RunCdSteps(const std::vector<CdStep>& steps);

// The components in the save folder's Components folder that the program's
// own Components folder does not hold (letter case ignored), as full paths:
// an earlier save left them there, and the program on the CD loads them too.
std::vector<std::string> LeftoverComponents(const std::string& saveFolder, const ProgramFiles& program,
                                            CdFileSystem& files);

}  // namespace corvel
