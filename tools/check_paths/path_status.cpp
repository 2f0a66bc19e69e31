#include "tools/check_paths/path_status.h"

namespace corvel {

namespace {

constexpr std::uint32_t Rgb(unsigned red, unsigned green, unsigned blue) {
    return red | (green << 8) | (blue << 16);
}

Field ItemFieldOf(CheckedField field) {
    switch (field) {
        case CheckedField::Installer:
            return Field::SrcPath;
        case CheckedField::InstallFolder:
            return Field::DstDir;
        case CheckedField::Patch:
            return Field::Patch;
        default:
            return Field::Settings;
    }
}

}  // namespace

std::string_view StoredText(const CatalogueNode& item, CheckedField field) {
    return item.StoredField(ItemFieldOf(field));
}

unsigned PathStatusOf(CheckedField field, std::string_view text, const PathResolver& paths,
                      const FileExistsCheck& fileExists) {
    if (text.empty()) return kPathEmpty;
    const bool isFolder = field == CheckedField::InstallFolder;
    std::string path = isFolder ? std::string(text) : paths.ProgramPathOfCommand(text, false);
    PathKind kind = ClassifyPath(path);
    if (kind == PathKind::Invalid) return kPathInvalid;
    unsigned status = kind == PathKind::Absolute ? kPathAbsolute : kPathRelative;
    // A folder is only classified, never looked for.
    if (isFolder) return status;
    std::string full = kind == PathKind::Absolute ? path : paths.ResolvePath(path);
    return status | (fileExists(full) ? kPathExists : kPathMissing);
}

PathStatuses PathStatusesOf(const CatalogueNode& item, const PathResolver& paths, const FileExistsCheck& fileExists) {
    PathStatuses statuses{};
    for (std::size_t i = 0; i < kCheckedFieldCount; ++i)
        statuses[i] = PathStatusOf(kCheckedFields[i], StoredText(item, kCheckedFields[i]), paths, fileExists);
    return statuses;
}

bool PassesFilter(unsigned status, PathFilter filter) {
    if (status & kPathEmpty) return false;
    switch (filter) {
        case PathFilter::All:
            return true;
        case PathFilter::Faulty:
            return (status & (kPathInvalid | kPathMissing)) != 0;
        case PathFilter::Relative:
            return (status & kPathRelative) != 0;
        case PathFilter::Absolute:
            return (status & kPathAbsolute) != 0;
    }
    return false;
}

bool AnyPasses(const PathStatuses& statuses, PathFilter filter) {
    for (unsigned status : statuses)
        if (PassesFilter(status, filter)) return true;
    return false;
}

ResolvedLine ResolvedLineOf(CheckedField field, std::string_view text, unsigned status, const PathResolver& paths) {
    ResolvedLine line;
    line.invalid = (status & kPathInvalid) != 0;
    if (field == CheckedField::InstallFolder) {
        if (!line.invalid) line.path = paths.ResolvePath(text);
        return line;
    }
    ResolvedCommand command = paths.ResolveCommand(text);
    if (!line.invalid) line.path = command.program;
    if (command.ok) line.parameters = command.params;
    return line;
}

std::uint32_t StatusColour(unsigned status) {
    if (status & kPathInvalid) return Rgb(128, 0, 128);
    if (status & kPathExists) return Rgb(0, 128, 0);
    if (status & kPathMissing) return Rgb(255, 0, 0);
    return Rgb(0, 0, 0);
}

}  // namespace corvel
