#include "tests/e2e/harness/program_folder.h"

#include <string>

#include "catalogue/unique_handle.h"
#include "catalogue/win32_text.h"
#include "tests/e2e/harness/polling.h"
#include "tests/support/remove_tree.h"

namespace corvel::e2e {
namespace {

std::string Describe(std::string_view what, std::wstring_view path) {
    return std::string(what) + " " + Cp936FromWide(path) + " (error " + std::to_string(GetLastError()) + ")";
}

}  // namespace

using corvel::testing::RemoveTree;

ProgramFolder::ProgramFolder() {
    wchar_t temp[MAX_PATH + 1];
    const DWORD length = GetTempPathW(MAX_PATH + 1, temp);
    if (length == 0 || length > MAX_PATH) throw HarnessError("no temporary folder");
    std::wstring base = temp;
    if (base.back() == L'\\') base.pop_back();
    const std::wstring prefix = base + L"\\corvel_e2e_" + std::to_wstring(GetCurrentProcessId()) + L"_" +
                                std::to_wstring(GetTickCount()) + L"_";
    for (int attempt = 0; attempt < 1000; ++attempt) {
        const std::wstring candidate = prefix + std::to_wstring(attempt);
        if (CreateDirectoryW(candidate.c_str(), nullptr)) {
            path_ = candidate;
            return;
        }
        if (GetLastError() != ERROR_ALREADY_EXISTS) throw HarnessError(Describe("cannot create", candidate));
    }
    throw HarnessError("no free temporary folder name");
}

ProgramFolder::~ProgramFolder() {
    RemoveTree(path_);
}

std::wstring ProgramFolder::PathOf(std::wstring_view relative) const {
    return path_ + L"\\" + std::wstring(relative);
}

std::wstring ProgramFolder::InstallProgram(const std::wstring& source, std::wstring_view name) {
    const std::wstring target = PathOf(name);
    if (!CopyFileW(source.c_str(), target.c_str(), FALSE)) throw HarnessError(Describe("cannot copy", source));
    return target;
}

void ProgramFolder::AddComponentsFolder() {
    const std::wstring folder = PathOf(L"Components");
    if (!CreateDirectoryW(folder.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) {
        throw HarnessError(Describe("cannot create", folder));
    }
}

void ProgramFolder::AddComponent(const std::wstring& source, std::wstring_view name) {
    AddComponentsFolder();
    const std::wstring target = PathOf(L"Components\\" + std::wstring(name));
    if (!CopyFileW(source.c_str(), target.c_str(), FALSE)) throw HarnessError(Describe("cannot copy", source));
}

void ProgramFolder::WriteFile(std::wstring_view relative, std::string_view bytes) {
    const std::wstring path = PathOf(relative);
    corvel::UniqueFile file(
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    if (!file.valid() || !::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
        written != bytes.size()) {
        throw HarnessError(Describe("cannot write", path));
    }
}

std::optional<std::string> ReadFileShared(const std::wstring& path) {
    // Shared for writing: the program may append to the file (a component's
    // log) while the test reads it, and must not fail to.
    corvel::UniqueFile file(CreateFileW(path.c_str(), GENERIC_READ,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) return std::nullopt;
    std::string bytes;
    std::string chunk(1 << 20, '\0');
    DWORD read = 0;
    while (::ReadFile(file.get(), chunk.data(), static_cast<DWORD>(chunk.size()), &read, nullptr) && read > 0)
        bytes.append(chunk, 0, read);
    return bytes;
}

std::optional<std::string> ProgramFolder::ReadFile(std::wstring_view relative) const {
    return ReadFileShared(PathOf(relative));
}

bool ProgramFolder::Exists(std::wstring_view relative) const {
    return GetFileAttributesW(PathOf(relative).c_str()) != INVALID_FILE_ATTRIBUTES;
}

FILETIME ProgramFolder::LastWriteTime(std::wstring_view relative) const {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(PathOf(relative).c_str(), GetFileExInfoStandard, &data)) {
        throw HarnessError(Describe("cannot read the time of", PathOf(relative)));
    }
    return data.ftLastWriteTime;
}

void ProgramFolder::SetLastWriteTime(std::wstring_view relative, const FILETIME& time) {
    const std::wstring path = PathOf(relative);
    corvel::UniqueFile file(CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!file.valid() || !SetFileTime(file.get(), nullptr, nullptr, &time)) {
        throw HarnessError(Describe("cannot set the time of", path));
    }
}

}  // namespace corvel::e2e
