// What Fennick decides: what a drive letter's device target says about
// it, how a mapped folder is shown, the checks of Create and Delete, and
// the hidden elevated copy that maps a letter for elevated programs.
// Portable; texts are UTF-16 as the device table answers them.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace corvel {

enum class DriveUse { Free, RealDrive, FolderMapping };

// letterText is "X:"; target is what the device table answers for it,
// nullopt when it answers nothing (the letter is free).
DriveUse ClassifyDrive(std::wstring_view letterText, const std::optional<std::wstring>& target);

// The folder a mapping stands for, without the system's prefix before it
// ("\??\D:\Test" shows as "D:\Test").
std::wstring DisplayedFolder(std::wstring_view target);

// Exactly a letter and a colon.
bool IsDriveLetterText(std::wstring_view text);

enum class CreateRefusal { None, EmptyFolder, MissingFolder, DriveRoot, NoLetter, InvalidLetter };
enum class DeleteRefusal { None, NoLetter, InvalidLetter };

// The checks of Create in their order; chosenLetter is the text of the
// chosen free letter, nullopt when none is chosen.
CreateRefusal CheckCreate(std::wstring_view folder, bool folderExists, const std::optional<std::wstring>& chosenLetter);
DeleteRefusal CheckDelete(const std::optional<std::wstring>& chosenLetter);

// With UAC an administrator's elevated programs run in a logon session of
// their own, and drive letters belong to one logon session. Fennick maps in
// the user's session, for Explorer; a hidden elevated copy of it maps the
// same letter in the elevated session, for Corvel.
enum class HiddenTask { MapForElevated, UnmapForElevated };

struct HiddenRequest {
    HiddenTask task;
    std::wstring letter;  // "X:"
    std::wstring folder;  // full path; empty for UnmapForElevated
};

// The parameters that start the hidden copy, quoted so that any folder
// reaches it as one argument.
std::wstring HiddenParameters(const HiddenRequest& request);

// The hidden request that the arguments after the program name make, or
// nullopt when they make none (then the dialog runs).
std::optional<HiddenRequest> ParseHiddenRequest(const std::vector<std::wstring>& arguments);

// What the hidden copy does with what the elevated session holds for the
// letter (nullopt when free). folderExists: whether the elevated session
// sees the folder, which on a drive the user mapped it does not.
enum class HiddenStep { Define, Remove, AlreadyDone, Refuse };
HiddenStep DecideHiddenStep(const HiddenRequest& request, const std::optional<std::wstring>& target, bool folderExists);

// The hidden copy's exit code: 0 when the elevated session holds what was
// asked, 1 when not.
inline constexpr unsigned long kHiddenDone = 0;
inline constexpr unsigned long kHiddenFailed = 1;

// How the elevated copy went: not needed (no split token), done, declined
// at the elevation prompt, or failed.
enum class ElevatedCopy { NotNeeded, Done, Declined, Failed };

// The message after the letter was made or removed in the user's session.
enum class ResultMessage { Created, CreatedNotForElevated, Deleted, DeletedNotForElevated };
ResultMessage MessageAfter(HiddenTask task, ElevatedCopy copy);

}  // namespace corvel
