#include "catalogue/shell/icon_cache.h"

#include <shellapi.h>

#include <utility>

#include "catalogue/cp936.h"
#include "catalogue/long_path.h"
#include "catalogue/paths.h"
#include "catalogue/shell/screen_dpi.h"
#include "catalogue/shell/shell_files.h"
#include "catalogue/win32_text.h"

namespace corvel {

namespace {

// Beyond this an image list of such icons makes no sense.
constexpr int kLargestIconSize = 256;

// SHGetFileInfo flag for the icon size of the cache's type.
UINT ShellSizeFlag(int sizeType) {
    switch (sizeType) {
        case kIconSizeSmall:
            return SHGFI_SMALLICON;
        case kIconSizeShell:
            return SHGFI_SHELLICONSIZE;
        default:
            return SHGFI_LARGEICON;
    }
}

}  // namespace

int ShellIconSizeFromText(std::wstring_view text) {
    if (text.empty()) return -1;
    long long size = 0;
    for (wchar_t c : text) {
        if (c < L'0' || c > L'9') return -1;
        size = size * 10 + (c - L'0');
        if (size > 0x7FFFFFFF) return -1;
    }
    return static_cast<int>(size);
}

int ReadShellIconSize() {
    UniqueKey key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Desktop\\WindowMetrics", 0, KEY_QUERY_VALUE, key.put()) !=
        ERROR_SUCCESS) {
        return -1;
    }
    DWORD type = 0;
    DWORD bytes = 0;
    std::wstring text;
    LONG status = RegQueryValueExW(key.get(), L"Shell Icon Size", nullptr, &type, nullptr, &bytes);
    if (status == ERROR_SUCCESS && type == REG_SZ && bytes > 0) {
        text.resize(bytes / sizeof(wchar_t) + 1);
        bytes = static_cast<DWORD>(text.size() * sizeof(wchar_t));
        status = RegQueryValueExW(key.get(), L"Shell Icon Size", nullptr, &type, reinterpret_cast<BYTE*>(text.data()),
                                  &bytes);
        // The stored text need not end with a NUL; it may also hold several.
        text.resize(status == ERROR_SUCCESS ? bytes / sizeof(wchar_t) : 0);
        text.resize(std::wstring_view(text.c_str()).size());
    }
    if (status != ERROR_SUCCESS || type != REG_SZ) return -1;
    return ShellIconSizeFromText(text);
}

bool FileIconCache::Create(int sizeType, UINT flags, int growth, int dpi) {
    int size = 0;
    switch (sizeType) {
        case kIconSizeSmall:
            size = GetSystemMetrics(SM_CXSMICON);
            break;
        case kIconSizeLarge:
            size = GetSystemMetrics(SM_CXICON);
            break;
        case kIconSizeShell:
            size = ReadShellIconSize();
            if (size <= 0 || size > kLargestIconSize) size = GetSystemMetrics(SM_CXICON);
            break;
        default:
            return false;
    }
    if (dpi > 0) size = FromScreenDpi(size, static_cast<UINT>(dpi));
    UniqueImageList list(ImageList_Create(size, size, flags, 0, growth));
    if (!list) return false;
    list_ = std::move(list);
    entries_.clear();
    programImages_.clear();
    sizeType_ = sizeType;
    iconSize_ = size;
    return true;
}

int FileIconCache::AddShellIcon(const std::wstring& name, DWORD attributes, UINT flags) {
    SHFILEINFOW info = {};
    flags |= SHGFI_ICON | ShellSizeFlag(sizeType_);
    if (!SHGetFileInfoW(name.c_str(), attributes, &info, sizeof info, flags) || !info.hIcon) return -1;
    UniqueIcon icon(info.hIcon);
    return ImageList_ReplaceIcon(list_.get(), -1, icon.get());
}

// Reads the first icon straight from the program's resources, at the
// cache's size so that the image made for that size is taken rather than one
// stretched to it: about twice as fast as asking the shell, which counts when
// a category holds many items.
int FileIconCache::AddProgramIcon(const std::wstring& path) {
    UniqueIcon icon;
    UINT read = PrivateExtractIconsW(path.c_str(), 0, iconSize_, iconSize_, icon.put(), nullptr, 1, LR_DEFAULTCOLOR);
    if (read == 0 || read == 0xFFFFFFFF || !icon) return -1;
    return ImageList_ReplaceIcon(list_.get(), -1, icon.get());
}

bool FileIconCache::MayHaveOwnIcon(const std::string& path, bool isFolder) {
    return !isFolder && EqualsIgnoreAsciiCase(ExtensionOfPath(path), "EXE");
}

bool FileIconCache::HasOwnIcon(const std::string& path, bool isFolder) const {
    return MayHaveOwnIcon(path, isFolder) && FileExists(path);
}

int FileIconCache::IconIndex(const std::string& path, bool isFolder) {
    if (path.empty() || !list_) return -1;
    if (!isFolder) {
        auto known = programImages_.find(path);
        if (known != programImages_.end() && known->second < ImageList_GetImageCount(list_.get())) return known->second;
    }
    if (HasOwnIcon(path, isFolder)) {
        std::wstring widePath = WideLongPath(path);
        int index = AddProgramIcon(widePath);
        if (index < 0) index = AddShellIcon(widePath, 0, 0);  // a program without icons of its own
        if (index >= 0) {
            programImages_.insert_or_assign(path, index);
            return index;
        }
        // The shell could not read this file (a very long path, say): the
        // generic icon below is better than an item the list leaves out.
    }
    return TypeIconIndex(path, isFolder);
}

int FileIconCache::TypeIconIndex(const std::string& path, bool isFolder) {
    if (path.empty() || !list_) return -1;
    std::string extension = ExtensionOfPath(path);
    for (const Entry& entry : entries_) {
        if (entry.isFolder == isFolder && EqualsIgnoreAsciiCase(entry.extension, extension)) {
            return entry.image < ImageList_GetImageCount(list_.get()) ? entry.image : -1;
        }
    }
    // A made-up name: the shell then answers from the extension alone, and
    // the real path may be too long or name no file.
    std::wstring name = isFolder ? L"folder" : L"file";
    if (!extension.empty()) {
        std::wstring wideExtension = WideFromCp936(extension);
        if (wideExtension.empty()) return -1;
        name += L"." + wideExtension;
    }
    DWORD attributes = isFolder ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_NORMAL;
    int index = AddShellIcon(name, attributes, SHGFI_USEFILEATTRIBUTES);
    if (index < 0) return -1;
    entries_.push_back({extension, isFolder, index});
    return index;
}

void FileIconCache::Clear() {
    entries_.clear();
    programImages_.clear();
    // All at once: removing one image rebuilds the bitmaps of all the others.
    if (list_) ImageList_Remove(list_.get(), -1);
}

}  // namespace corvel
