// Copying files and folder trees for the CD tools. Paths are full paths in
// code page 936. Windows builds only.
#pragma once

#include <string>

namespace corvel {

// Copies an existing file into an existing folder under its own name.
bool CopyFileIntoFolder(const std::string& sourceFile, const std::string& targetFolder, bool failIfExists);

// Copies every file and sub-folder of source into target, hidden and system
// entries included; a file that cannot be copied is skipped. Linked folders
// (junctions, symbolic links) are not entered. False when either folder is
// missing or target is source or lies inside it.
bool CopyFolderTree(const std::string& sourceFolder, const std::string& targetFolder, bool failIfExists);

}  // namespace corvel
