// The registry value ProgramFilesDir that installers take their proposed
// folder from, and the one saved value Tobrin puts back.
#pragma once

#include <string>

namespace corvel::tobrin {

// False when the value is missing, not a string, or too long to keep.
bool ReadProgramFilesDir(std::wstring& value);
// A failed write is ignored: without the right to write HKLM, installers
// simply propose their usual folder.
void WriteProgramFilesDir(const std::wstring& value);

// The saved value lives in the component, not in the dialog, so that it can
// still be put back when the dialog's thread is ended before the dialog is.
void KeepSavedProgramFilesDir(const std::wstring& saved);
void NoteProgramFilesDirChanged();
// The dialog's end: writes the saved value back unless it is empty.
void RestoreSavedProgramFilesDir();
// Writes the saved value back only when a changed value is still out.
void MendProgramFilesDir();

}  // namespace corvel::tobrin
