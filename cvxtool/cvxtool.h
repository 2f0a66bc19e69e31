// cvxtool: checks catalogue files and the path and name rules from the
// command line, printing what the program itself would make of them.
#pragma once

#include <string>
#include <vector>

// Runs one command. argsUtf8 are the arguments without the program name;
// out and err receive what belongs on standard output and standard error,
// all UTF-8. Returns the exit code: 0 done, 1 a catalogue could not be read
// or written, 2 a usage error or an argument that cannot be converted.
int RunCvxtool(const std::vector<std::string>& argsUtf8, std::string& out, std::string& err);
