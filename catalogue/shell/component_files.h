// The files of a folder that Corvel loads as components. Windows builds only.
#pragma once

#include <string>
#include <vector>

namespace corvel {

// The names of the files that match "*.cpn" in folder (a code page 936
// path), in the order the file system gives them; folders that match are
// left out. Empty when the folder cannot be listed.
std::vector<std::string> ComponentFiles(const std::string& folder);

}  // namespace corvel
