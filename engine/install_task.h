// The install task's sequence: for each chosen item, the installer step,
// then the patch step, then the settings step, each file handed to the
// components. Portable: the thread, the clipboard and the message boxes
// belong to the caller.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "catalogue/catalogue_model.h"
#include "catalogue/paths.h"
#include "components/component_interface.h"

namespace corvel {

// Install flags are step kinds combined.
inline constexpr unsigned kAllSteps = kInstallerStep | kPatchStep | kSettingsStep;

enum ItemOutcome : unsigned {
    kOutcomeUnreadable = 1,
    kOutcomeFileMissing = 2,
    kOutcomeDone = 4,
    kOutcomeFailed = 8,
    kOutcomeAbandonItem = 16,
    kOutcomeStop = 32,
    kOutcomeNoComponent = 64,
};
// The task goes on after these outcomes and ends after any other.
inline constexpr unsigned kOutcomesThatGoOn = 0x5F;

enum class InstallMessageKind { FileMissing, ComponentFailed, NoComponent };

// A message the task shows. The step kind chooses caption and text;
// NoComponent carries the exclamation icon, the others the stop icon.
struct InstallMessage {
    InstallMessageKind kind;
    unsigned step;
    std::string name;  // the item's Name
    std::string path;  // FileMissing: the resolved path, empty when unresolved
    // FileMissing: the path's drive letter (upper case) when Corvel has no
    // such drive, as a network drive mapped without elevation; 0 otherwise.
    char missingDrive = 0;
};

// The drive letter of a path that begins with one ("X:"), upper case, when
// drives (the bit mask GetLogicalDrives answers, bit 0 for A) lacks it; 0
// when the drive is there or the path names no drive.
char MissingDriveOf(std::string_view path, unsigned long drives);

// What the task needs around it: the Win32 worker gives the real things,
// the tests give fakes.
class InstallServices {
public:
    virtual ~InstallServices() = default;
    // A copy of the item's fields, Regcode with CR LF; false when unreadable.
    virtual bool ReadItem(const CatalogueNode* item, ItemFields& fields) = 0;
    virtual bool StopRequested() = 0;
    virtual bool FileExists(const std::string& path) = 0;
    // The drives that exist for Corvel, as GetLogicalDrives answers them.
    virtual unsigned long LogicalDrives() = 0;
    // Makes text the current registration text and puts it on the clipboard.
    virtual void SetRegistrationText(const std::string& text) = 0;
    // The component host's answer for one step's file: a component's answer or kNoComponent.
    virtual int Dispatch(const std::string& name, const std::string& file, const std::string& parameters,
                         const std::string& installFolder, unsigned step) = 0;
    virtual void ShowMessage(const InstallMessage& message) = 0;
};

ItemOutcome InstallItem(InstallServices& services, const PathResolver& paths, const CatalogueNode* item,
                        unsigned flags);

// Installs the items in order; ends after an outcome that does not go on.
void RunInstallTask(InstallServices& services, const PathResolver& paths,
                    const std::vector<const CatalogueNode*>& items, unsigned flags);

}  // namespace corvel
