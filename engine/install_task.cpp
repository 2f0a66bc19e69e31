#include "engine/install_task.h"

#include "engine/host_result.h"

namespace corvel {

namespace {

// Outcome of one step: kOutcomeDone lets the item go on to its next step.
ItemOutcome RunStep(InstallServices& services, const PathResolver& paths, const ItemFields& fields,
                    unsigned step, const std::string& command) {
    // Resolved when the step begins, so a file an earlier step made is found.
    ResolvedCommand resolved = paths.ResolveCommand(command);
    if (!resolved.ok || resolved.program.empty() || !services.FileExists(resolved.program)) {
        services.ShowMessage({InstallMessageKind::FileMissing, step, fields.Name, resolved.program,
                                  MissingDriveOf(resolved.program, services.LogicalDrives())});
        return kOutcomeFileMissing;
    }

    if (step == kInstallerStep) services.SetRegistrationText(fields.Regcode);

    std::string installFolder = paths.ResolvePath(fields.DstDir);
    switch (services.Dispatch(fields.Name, resolved.program, resolved.params, installFolder, step)) {
        case kFailed:
            services.ShowMessage({InstallMessageKind::ComponentFailed, step, fields.Name, {}});
            return kOutcomeFailed;
        case kAbandonItem:
            return kOutcomeAbandonItem;
        case kAbandonAll:
            return kOutcomeStop;
        case kNoComponent:
            services.ShowMessage({InstallMessageKind::NoComponent, step, fields.Name, {}});
            return kOutcomeNoComponent;
        default:
            // Done, and anything the host should never answer: the component
            // had the file, so the item goes on as after done.
            return kOutcomeDone;
    }
}

}  // namespace

char MissingDriveOf(std::string_view path, unsigned long drives) {
    if (path.size() < 2 || path[1] != ':') return 0;
    char letter = path[0];
    if (letter >= 'a' && letter <= 'z') letter = static_cast<char>(letter - 'a' + 'A');
    if (letter < 'A' || letter > 'Z') return 0;
    return (drives >> (letter - 'A')) & 1 ? 0 : letter;
}

ItemOutcome InstallItem(InstallServices& services, const PathResolver& paths, const CatalogueNode* item,
                        unsigned flags) {
    ItemFields fields;
    if (!services.ReadItem(item, fields)) return kOutcomeUnreadable;

    struct Step {
        unsigned kind;
        const std::string& command;
    };
    const Step steps[] = {
        {kInstallerStep, fields.SrcPath},
        {kPatchStep, fields.Patch},
        {kSettingsStep, fields.Settings},
    };
    for (const Step& step : steps) {
        // Also before skipped steps, so a stop during the last step run still ends the task.
        if (services.StopRequested()) return kOutcomeStop;
        if (!(flags & step.kind)) continue;
        // An empty installer command is a missing installer; the other two are optional.
        if (step.kind != kInstallerStep && step.command.empty()) continue;
        ItemOutcome outcome = RunStep(services, paths, fields, step.kind, step.command);
        if (outcome != kOutcomeDone) return outcome;
    }
    return kOutcomeDone;
}

void RunInstallTask(InstallServices& services, const PathResolver& paths,
                    const std::vector<const CatalogueNode*>& items, unsigned flags) {
    for (const CatalogueNode* item : items) {
        if (!(InstallItem(services, paths, item, flags) & kOutcomesThatGoOn)) return;
    }
}

}  // namespace corvel
