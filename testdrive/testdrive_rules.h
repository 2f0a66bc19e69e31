// Fennick's deciding parts: what a drive letter's device target says about
// it, how a mapped folder is shown, and the checks of Create and Delete.
// Portable; texts are UTF-16 as the device table answers them.
#pragma once

#include <optional>
#include <string>
#include <string_view>

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

}  // namespace corvel
