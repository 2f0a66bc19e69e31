// Icons of install items, one image per extension and one per existing EXE
// file.
// Windows builds only.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "catalogue/unique_handle.h"

namespace corvel {

// The size in pixels held by a "Shell Icon Size" text: decimal digits only,
// else -1.
int ShellIconSizeFromText(std::wstring_view text);

// HKCU "Control Panel\Desktop\WindowMetrics" value "Shell Icon Size"; -1 when
// it is missing (it only appears once a user changed the icon size), not a
// REG_SZ or not plain digits.
int ReadShellIconSize();

enum IconSizeType { kIconSizeNone = 0, kIconSizeSmall = 1, kIconSizeLarge = 2, kIconSizeShell = 3 };

class FileIconCache {
public:
    FileIconCache() = default;
    FileIconCache(const FileIconCache&) = delete;
    FileIconCache& operator=(const FileIconCache&) = delete;

    // Makes the image list for size type 1, 2 or 3; type 3 falls back to the
    // system's large icon size when "Shell Icon Size" is missing or unusable.
    // flags and growth go to ImageList_Create. A dpi other than 0 is that
    // of a monitor whose scale differs from the screen's: the sizes, which
    // the system gives for the screen, are scaled to it.
    bool Create(int sizeType, UINT flags, int growth, int dpi = 0);

    // Index of the icon for path in ImageList(), or -1. Every existing EXE
    // file gets an image of its own, which every entry of the same path
    // shares; other paths share one per extension and folder flag.
    int IconIndex(const std::string& path, bool isFolder);
    // The icon shared by every path of this extension and folder flag.
    int TypeIconIndex(const std::string& path, bool isFolder);
    // True when IconIndex would read an image of the file's own.
    bool HasOwnIcon(const std::string& path, bool isFolder) const;
    // As HasOwnIcon, without asking whether the file exists.
    static bool MayHaveOwnIcon(const std::string& path, bool isFolder);

    // Forgets every entry and removes every image, last first.
    void Clear();

    HIMAGELIST ImageList() const { return list_.get(); }
    int SizeType() const { return sizeType_; }
    int IconSize() const { return iconSize_; }

private:
    struct Entry {
        std::string extension;
        bool isFolder;
        int image;
    };

    int AddShellIcon(const std::wstring& name, DWORD attributes, UINT flags);
    int AddProgramIcon(const std::wstring& path);

    UniqueImageList list_;
    std::vector<Entry> entries_;
    std::unordered_map<std::string, int> programImages_;  // by full path
    int sizeType_ = kIconSizeNone;
    int iconSize_ = 0;
};

}  // namespace corvel
