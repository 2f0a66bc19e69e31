// Where the running program lives: the base of every relative path and of
// the catalogue file's name.
#pragma once

#include <optional>
#include <string>

namespace corvel::ui {

struct ProgramLocation {
    std::string folder;         // ends with a backslash; code page 936
    std::string catalogueFile;  // folder + program base name + ".cvx"
    std::string programFile;    // the program file itself; code page 936
};

// Where the program file at modulePath lives; nothing when code page 936
// cannot hold the path, for then no path of the program can be formed.
std::optional<ProgramLocation> LocationOf(const std::wstring& modulePath);

// Says, caption "Corvel" and stop icon, that the program cannot be used at
// modulePath and must be moved to a folder code page 936 can name.
void TellProgramPathUnusable(const std::wstring& modulePath);

// Taken from the module file name of the running program; nothing after the
// user was told that its folder cannot be used.
std::optional<ProgramLocation> LocateProgram();

}  // namespace corvel::ui
