// What the check paths window finds out about the four paths of an install
// item, and which of them a view filter lets through. Portable.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "catalogue/catalogue_model.h"
#include "catalogue/paths.h"

namespace corvel {

// Flags of one path's status.
enum PathStatusFlag : unsigned {
    kPathEmpty = 0x01,    // alone
    kPathInvalid = 0x02,  // alone
    kPathExists = 0x04,
    kPathMissing = 0x08,  // names nothing, or a folder
    kPathRelative = 0x10,
    kPathAbsolute = 0x20,
};

// The checked fields in the order the window shows them.
enum class CheckedField { Installer, InstallFolder, Patch, Settings };
inline constexpr std::size_t kCheckedFieldCount = 4;
inline constexpr std::array<CheckedField, kCheckedFieldCount> kCheckedFields = {
    CheckedField::Installer, CheckedField::InstallFolder, CheckedField::Patch, CheckedField::Settings};

// The text of one checked field of an item as stored.
std::string_view StoredText(const CatalogueNode& item, CheckedField field);

// Whether a file exists at a full path; the window passes the shell helper.
using FileExistsCheck = std::function<bool(const std::string&)>;

// The install folder is a plain path and only classified; the others are
// commands whose program path is checked.
unsigned PathStatusOf(CheckedField field, std::string_view text, const PathResolver& paths,
                      const FileExistsCheck& fileExists);

using PathStatuses = std::array<unsigned, kCheckedFieldCount>;
PathStatuses PathStatusesOf(const CatalogueNode& item, const PathResolver& paths, const FileExistsCheck& fileExists);

// View filters, numbered as their menu entries.
enum class PathFilter { All = 1, Faulty = 2, Relative = 3, Absolute = 4 };

bool PassesFilter(unsigned status, PathFilter filter);
// An item with no path that passes is not shown at all.
bool AnyPasses(const PathStatuses& statuses, PathFilter filter);

// The lower line of a path block: the resolved path (empty and invalid set
// when the status is invalid) and, for a command, its rebuilt parameters.
struct ResolvedLine {
    bool invalid = false;
    std::string path;
    std::string parameters;
};
ResolvedLine ResolvedLineOf(CheckedField field, std::string_view text, unsigned status, const PathResolver& paths);

// Colour of the resolved path as 0x00BBGGRR.
std::uint32_t StatusColour(unsigned status);

}  // namespace corvel
