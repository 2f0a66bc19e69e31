#include "catalogue/shell/job_launch.h"

#include "catalogue/shell/native_system.h"
#include "catalogue/shell/shell_launch.h"
#include "catalogue/unique_handle.h"
#include "catalogue/win32_text.h"

namespace corvel {

HANDLE RunProgramInJob(HANDLE job, const std::string& file, const std::string& parameters,
                       const std::string& workingFolder, int showMode) {
    std::wstring program = StartablePath(WideFromCp936(NativePath(file)));
    if (program.empty()) return nullptr;
    std::wstring wideParameters = WideFromCp936(parameters);
    std::wstring folder = StartablePath(WideFromCp936(workingFolder));
    std::wstring commandLine = L"\"" + program + L"\"";
    if (!wideParameters.empty()) commandLine += L" " + wideParameters;

    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = static_cast<WORD>(showMode);
    PROCESS_INFORMATION started = {};
    // Suspended, so that it starts nothing before it is in the job; with the
    // system's usual error boxes, whatever Corvel chose for itself.
    if (CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE,
                       CREATE_SUSPENDED | CREATE_DEFAULT_ERROR_MODE, nullptr, folder.empty() ? nullptr : folder.c_str(),
                       &startup, &started)) {
        UniqueHandle thread(started.hThread);
        AssignProcessToJobObject(job, started.hProcess);
        ResumeThread(thread.get());
        return started.hProcess;
    }
    HANDLE process = RunProgram(file, parameters, workingFolder, showMode);
    if (process) AssignProcessToJobObject(job, process);
    return process;
}

}  // namespace corvel
