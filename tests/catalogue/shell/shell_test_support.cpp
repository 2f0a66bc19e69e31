#include "tests/catalogue/shell/shell_test_support.h"

#include <windows.h>

#include <stdexcept>

#include "catalogue/long_path.h"
#include "catalogue/win32_text.h"
#include "tests/support/remove_tree.h"

namespace corvel::testing {

namespace {

std::wstring Wide(const std::string& path) {
    return WideLongPath(path);
}

}  // namespace

ScratchFolder::ScratchFolder() {
    wchar_t temp[MAX_PATH + 1];
    DWORD length = GetTempPathW(MAX_PATH + 1, temp);
    if (length == 0 || length > MAX_PATH) throw std::runtime_error("no temp folder");
    static unsigned counter = 0;
    std::wstring root = std::wstring(temp, length) + L"corvel_shell_" + std::to_wstring(GetCurrentProcessId()) + L"_" +
                        std::to_wstring(++counter);
    RemoveTree(root);
    if (!CreateDirectoryW(root.c_str(), nullptr)) throw std::runtime_error("cannot create scratch folder");
    root_ = Cp936FromWide(root) + "\\";
}

ScratchFolder::~ScratchFolder() {
    RemoveTree(Wide(root_.substr(0, root_.size() - 1)));
}

void PutFile(const std::string& path, std::string_view data) {
    HANDLE file = CreateFileW(Wide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD put = 0;
    bool ok = file != INVALID_HANDLE_VALUE &&
              WriteFile(file, data.data(), static_cast<DWORD>(data.size()), &put, nullptr) && put == data.size();
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
    if (!ok) throw std::runtime_error("cannot write " + path);
}

std::string GetFile(const std::string& path) {
    HANDLE file = CreateFileW(Wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return "<missing>";
    std::string data;
    char chunk[4096];
    DWORD got = 0;
    while (ReadFile(file, chunk, sizeof chunk, &got, nullptr) && got > 0) data.append(chunk, got);
    CloseHandle(file);
    return data;
}

void MakeFolder(const std::string& path) {
    if (!CreateDirectoryW(Wide(path).c_str(), nullptr)) throw std::runtime_error("cannot create folder " + path);
}

bool Exists(const std::string& path) {
    return GetFileAttributesW(Wide(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string LongFolderPath(const std::string& base) {
    std::string path = base;
    for (int level = 0; path.size() <= 300; ++level) {
        path += kChinese + "_level_" + std::to_string(level) + "_abcdefghijklmnopqrstu\\";
    }
    path.pop_back();
    return path;
}

}  // namespace corvel::testing
