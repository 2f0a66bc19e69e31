// Reads the state of Corvel's main window from another process. Texts of
// tabs and list entries need a buffer inside the target process.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>
#include <vector>

namespace corvel::e2e {

// Control ids of the main window's children.
inline constexpr int kTabStripId = 1001;
inline constexpr int kItemListId = 0xE900;
inline constexpr int kToolbarId = 0xE800;
inline constexpr int kStatusBarId = 0xE801;

// Toolbar command ids, left to right.
inline constexpr WORD kAddItem = 32779;
inline constexpr WORD kDeleteItem = 32780;
inline constexpr WORD kEditItem = 32781;
inline constexpr WORD kInstall = 32775;
inline constexpr WORD kCopyRegcode = 32776;
inline constexpr WORD kInstallPatch = 32777;
inline constexpr WORD kRestoreSettings = 32778;
inline constexpr WORD kAbout = 57664;

// Memory committed in another process, freed with the object.
class RemoteBuffer {
public:
    RemoteBuffer(HANDLE process, std::size_t size);
    ~RemoteBuffer();
    RemoteBuffer(const RemoteBuffer&) = delete;
    RemoteBuffer& operator=(const RemoteBuffer&) = delete;

    void* Address(std::size_t offset = 0) const { return static_cast<char*>(address_) + offset; }
    void Write(std::size_t offset, const void* data, std::size_t size);
    void Read(std::size_t offset, void* data, std::size_t size) const;

private:
    HANDLE process_;
    void* address_;
};

// A NUL-terminated wide text at an address of the process, at most max_chars.
std::wstring ReadRemoteText(HANDLE process, const void* address, std::size_t max_chars);

class MainWindow {
public:
    // process needs the memory rights CreateProcess grants.
    MainWindow(HWND frame, HANDLE process) : frame_(frame), process_(process) {}

    HWND Frame() const { return frame_; }
    // A descendant of the frame with this control id; throws when missing.
    HWND Control(int id) const;

    std::wstring Title() const;

    int TabCount() const;
    std::wstring TabText(int index) const;
    std::vector<std::wstring> TabTexts() const;
    int CurrentTab() const;

    int ItemCount() const;
    std::wstring ItemText(int index) const;
    std::vector<std::wstring> ItemTexts() const;
    int SelectedCount() const;
    // Selects entry index (keeping other selections), as a Ctrl+click would.
    void SelectItem(int index) const;

    bool ButtonEnabled(WORD command) const;
    std::wstring StatusText() const;

    void Command(WORD id) const;

private:
    LRESULT Send(HWND window, UINT message, WPARAM wparam, LPARAM lparam) const;

    HWND frame_;
    HANDLE process_;
};

}  // namespace corvel::e2e
