// Where the running program lives: the base of every relative path and of
// the catalogue file's name.
#pragma once

#include <string>

namespace corvel::ui {

struct ProgramLocation {
    std::string folder;         // ends with a backslash; code page 936
    std::string catalogueFile;  // folder + program base name + ".cvx"
    std::string programFile;    // the program file itself; code page 936
};

// Taken from the module file name of the running program.
ProgramLocation LocateProgram();

}  // namespace corvel::ui
