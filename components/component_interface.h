// The contract between Corvel and its components (the .cpn libraries): which
// file of an item Open is asked for, what it answers, and the exports. The
// numbers are portable, for the rules tested natively; the exports are
// declared for Windows, so that the compiler checks each component's
// definitions and the host's calls against one signature. Texts are code
// page 936 bytes.
#pragma once

#ifdef _WIN32
#include <windows.h>
#endif

namespace corvel {

// Which file of an item Open is asked to open: one bit each, so that the
// install flags combine them.
inline constexpr int kInstallerStep = 1;
inline constexpr int kPatchStep = 2;
inline constexpr int kSettingsStep = 4;

// What Open answers.
inline constexpr int kDone = 0;
inline constexpr int kNotMine = 1;  // the next component is asked
inline constexpr int kFailed = 2;
inline constexpr int kAbandonItem = 3;  // the item's later steps are skipped
inline constexpr int kAbandonAll = 4;   // the install task ends

}  // namespace corvel

#ifdef _WIN32
// Exported under exactly these names through each component's .def file.
// __stdcall, and every argument 32 bits wide on i686 (Open is _Open@24).
extern "C" {
// Asked for one file of an install step; answers kDone to kAbandonAll.
int __stdcall Open(HWND owner, const char* itemName, const char* filePath, const char* parameters,
                   const char* installFolder, int stepKind);
// Optional; called once after loading with Corvel's main frame. 0 refuses the load.
int __stdcall Initialize(HWND mainFrame);
// Optional; called before the library is freed.
void __stdcall PreUnloadDll();
}

namespace corvel {

using ComponentOpenFn = decltype(&::Open);
using ComponentInitializeFn = decltype(&::Initialize);
using ComponentPreUnloadFn = decltype(&::PreUnloadDll);

}  // namespace corvel
#endif
