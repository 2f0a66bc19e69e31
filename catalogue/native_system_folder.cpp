#include "catalogue/native_system_folder.h"

#include "catalogue/cp936.h"

namespace corvel {

namespace {

constexpr std::string_view kSystem32 = "System32";

std::string_view WithoutTrailingBackslash(std::string_view folder) {
    if (EndsWithChar(folder, '\\')) folder.remove_suffix(1);
    return folder;
}

// Whether text starts with prefix, letter case ignored, ending on a whole
// component.
bool StartsWithComponents(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size() || !EqualsIgnoreAsciiCase(text.substr(0, prefix.size()), prefix)) return false;
    return text.size() == prefix.size() || text[prefix.size()] == '\\';
}

}  // namespace

std::string SysnativeFolder(std::string_view windowsFolder) {
    return std::string(WithoutTrailingBackslash(windowsFolder)) + "\\Sysnative";
}

std::string NativeSystemPath(std::string_view windowsFolder, bool wow64, std::string_view path) {
    std::string_view windows = WithoutTrailingBackslash(windowsFolder);
    if (!wow64 || windows.empty()) return std::string(path);
    std::string system32 = std::string(windows) + "\\" + std::string(kSystem32);
    if (!StartsWithComponents(path, system32)) return std::string(path);
    return SysnativeFolder(windows) + std::string(path.substr(system32.size()));
}

}  // namespace corvel
