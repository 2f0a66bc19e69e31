// Copying files and folder trees for the CD tools. Paths are full paths in
// code page 936. Windows builds only.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace corvel {

// Called again and again while a file copies, so that a window can go on
// answering during a large file.
using CopyProgress = std::function<void()>;

// Copies an existing file into an existing folder under its own name. An
// existing file of that name that is to be overwritten loses its hidden,
// system and read-only attributes first.
bool CopyFileIntoFolder(const std::string& sourceFile, const std::string& targetFolder, bool failIfExists,
                        const CopyProgress& progress = {});

// Copies every file and sub-folder of source into target, hidden and system
// entries included; a file that cannot be copied is skipped, and its target
// path (or that of a sub-folder that could not be made) goes to notCopied.
// Linked folders (junctions, symbolic links) are not entered. False when
// either folder is missing or target is source or lies inside it.
bool CopyFolderTree(const std::string& sourceFolder, const std::string& targetFolder, bool failIfExists,
                    std::vector<std::string>* notCopied = nullptr);

// Clears the read-only attribute of an existing file; true when the file is
// writable afterwards.
bool MakeFileWritable(const std::string& file);

// What the file system tells about a folder while a tree is copied: volume
// serial number and file index (index 0 when it gives none, as some network
// and RAM-disk drivers do) and the final path (empty when unknown).
struct FolderFacts {
    std::uint32_t volume = 0;
    std::uint64_t index = 0;
    std::wstring finalPath;
};

// Test seam: while set, edit may change the facts read for each folder.
void SetFolderFactsEditForTesting(std::function<void(const std::wstring& folder, FolderFacts& facts)> edit);

}  // namespace corvel
