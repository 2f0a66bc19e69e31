// What Maelis decides, kept free of Win32 so it is tested natively. Texts
// are code page 936 bytes, as they cross the component interface.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "components/component_interface.h"

namespace corvel::maelis {

// What Open does before any window appears: answer, or run the dialog when
// the answer is kRunDialog.
inline constexpr int kRunDialog = -1;
int AnswerBeforeDialog(int stepKind, bool ownerIsWindow, bool fileExists);

// Text after the last "." of the file-name part; empty when there is none.
// Multi-byte aware: a trail byte 0x5C or 0x2E never splits the name.
std::string SettingsExtension(std::string_view path);

// A registry export: extension "REG" in any letter case.
bool IsRegistryFile(std::string_view path);

// Text after the last backslash (the whole path when it has none).
std::string FileNamePart(std::string_view path);

// folder + "\" unless it already ends in one + the file name of file.
std::string DestinationPath(std::string_view folder, std::string_view file);

enum class FolderVerdict { Ok, Empty, Missing };

// The target folder of a copy: not empty, and with one trailing backslash
// removed it must name an existing folder.
FolderVerdict CheckTargetFolder(std::string_view folder, const std::function<bool(const std::string&)>& folderExists);

// Parameters for regedit: silent import of the quoted file.
std::string RegeditParameters(std::string_view file);

// The registry editor to start. A 32-bit process on 64-bit Windows that
// starts "regedit.exe" gets the 32-bit one, which puts HKLM\Software keys
// under WOW6432Node; the native one is <Windows>\regedit.exe, which such a
// process must start with the file-system redirection off (the system
// redirects that very path to SysWOW64, and System32 holds no regedit.exe).
// Elsewhere the one on the path.
std::string RegeditProgram(std::string_view windowsFolder, bool wow64);

enum class Mode { Registry, DataFile };

// Registry mode only for a registry export, which alone may be imported.
Mode InitialMode(std::string_view path);

// Which controls are checked and enabled in a mode.
struct ModeControls {
    bool registryChecked;
    bool dataFileChecked;
    bool importLabelEnabled;
    bool copyControlsEnabled;  // label, folder, Browse, overwrite box
};
ModeControls ControlsFor(Mode mode);

// What OK leads to, given what was found on disk.
enum class OkOutcome {
    FileMissing,    // message, then failed
    FolderEmpty,    // message, dialog stays
    FolderMissing,  // message, dialog stays
    Copy,           // copy the file to DestinationPath
    Import,         // start regedit
    ImportRefused,  // registry mode for a file that is no registry export
};
OkOutcome DecideOk(Mode mode, std::string_view file, bool fileExists, std::string_view folder,
                   const std::function<bool(const std::string&)>& folderExists);

}  // namespace corvel::maelis
