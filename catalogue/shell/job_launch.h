// Starting a program inside a job object, so that whoever waits for it can
// wait for every process it starts too. Windows builds only.
#pragma once

#include <windows.h>

#include <string>

namespace corvel {

// Starts file (a program, code page 936) with parameters in workingFolder,
// in job before it can start a process of its own. Where only the shell
// can start it (it asks for elevation), it goes through the shell and into
// the job at once. The new process's handle, which the caller closes, or
// nullptr. A process the system refuses to put into the job still runs.
HANDLE RunProgramInJob(HANDLE job, const std::string& file, const std::string& parameters,
                       const std::string& workingFolder, int showMode);

}  // namespace corvel
