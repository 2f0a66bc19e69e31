#include "catalogue/shell/shell_copy.h"

#include <windows.h>

#include <algorithm>
#include <vector>

#include "catalogue/long_path.h"
#include "catalogue/no_throw.h"
#include "catalogue/shell/shell_files.h"
#include "catalogue/unique_handle.h"
#include "catalogue/win32_text.h"

namespace corvel {

namespace {

// Entry names come from the file system as UTF-16 and may hold characters
// that code page 936 lacks, so the tree is walked in UTF-16.

std::wstring WithBackslash(std::wstring path) {
    if (path.empty() || path.back() != L'\\') path += L'\\';
    return path;
}

bool IsFolder(const std::wstring& path) {
    DWORD attributes = GetFileAttributesW(LongPathFromWide(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

DWORD CALLBACK ReportProgress(LARGE_INTEGER, LARGE_INTEGER, LARGE_INTEGER, LARGE_INTEGER, DWORD, DWORD, HANDLE, HANDLE,
                              LPVOID progress) {
    // Called by the system: nothing may unwind into it.
    NoThrow([progress] { (*static_cast<const CopyProgress*>(progress))(); });
    return PROGRESS_CONTINUE;
}

// Clears the attributes in mask on an existing file; the attributes it had
// before, or 0 when nothing was changed.
DWORD ClearAttributes(const std::wstring& longPath, DWORD mask) {
    DWORD attributes = GetFileAttributesW(longPath.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) || !(attributes & mask))
        return 0;
    DWORD cleared = attributes & ~mask;
    if (!SetFileAttributesW(longPath.c_str(), cleared ? cleared : FILE_ATTRIBUTE_NORMAL)) return 0;
    return attributes;
}

// Windows refuses to replace a hidden, system or read-only file (a hidden
// AutoRun.inf, files copied from a CD).
constexpr DWORD kReplaceBlockers = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_READONLY;

bool CopyInto(const std::wstring& sourceFile, const std::wstring& targetFolder, bool failIfExists,
              const CopyProgress& progress = {}) {
    std::size_t slash = sourceFile.rfind(L'\\');
    std::wstring name = slash == std::wstring::npos ? sourceFile : sourceFile.substr(slash + 1);
    std::wstring target = LongPathFromWide(WithBackslash(targetFolder) + name);
    DWORD before = failIfExists ? 0 : ClearAttributes(target, kReplaceBlockers);
    bool copied =
        CopyFileExW(LongPathFromWide(sourceFile).c_str(), target.c_str(), progress ? ReportProgress : nullptr,
                    const_cast<CopyProgress*>(&progress), nullptr, failIfExists ? COPY_FILE_FAIL_IF_EXISTS : 0) != 0;
    // A file that was not replaced keeps what it had.
    if (!copied && before) SetFileAttributesW(target.c_str(), before);
    return copied;
}

std::function<void(const std::wstring&, FolderFacts&)>& FactsEdit() {
    static std::function<void(const std::wstring&, FolderFacts&)> edit;
    return edit;
}

std::wstring UpperCase(std::wstring text) {
    if (!text.empty()) CharUpperBuffW(text.data(), static_cast<DWORD>(text.size()));
    return text;
}

// Identity and real path (through links and short names, upper-cased) from
// one open handle; whatever cannot be read stays empty.
FolderFacts ReadFolderFacts(const std::wstring& folder) {
    FolderFacts facts;
    UniqueFile handle(CreateFileW(LongPathFromWide(WithBackslash(folder)).c_str(), 0,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                  FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (handle) {
        BY_HANDLE_FILE_INFORMATION info;
        if (GetFileInformationByHandle(handle.get(), &info)) {
            facts.volume = info.dwVolumeSerialNumber;
            facts.index = (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
        }
        std::wstring path(MAX_PATH, L'\0');
        DWORD length = GetFinalPathNameByHandleW(handle.get(), path.data(), static_cast<DWORD>(path.size()), 0);
        if (length >= path.size()) {
            path.resize(length + 1);
            length = GetFinalPathNameByHandleW(handle.get(), path.data(), static_cast<DWORD>(path.size()), 0);
        }
        if (length > 0 && length < path.size()) {
            path.resize(length);
            facts.finalPath = WithBackslash(UpperCase(path));
        }
    }
    if (FactsEdit()) FactsEdit()(folder, facts);
    return facts;
}

std::wstring LongName(const std::wstring& path) {
    DWORD needed = GetLongPathNameW(path.c_str(), nullptr, 0);
    if (needed == 0) return {};
    std::wstring longer(needed, L'\0');
    DWORD length = GetLongPathNameW(path.c_str(), longer.data(), needed);
    if (length == 0 || length >= needed) return {};
    longer.resize(length);
    return longer;
}

// The full path with "." and ".." resolved and short names made long, in the
// "\\?\" form GetFinalPathNameByHandle gives, upper-cased: all that is left
// to compare when the file system says nothing better.
std::wstring NormalPath(const std::wstring& folder) {
    std::wstring path = FullPath(WithBackslash(folder));
    if (path.empty()) path = WithBackslash(folder);
    // Wine expands short names only without the prefix; Windows needs it
    // past MAX_PATH.
    std::wstring longer = LongName(path);
    if (longer.empty()) longer = LongName(PrefixedPath(path));
    if (!longer.empty()) path = longer;
    return WithBackslash(UpperCase(PrefixedPath(path)));
}

class Folder {
public:
    explicit Folder(const std::wstring& path) : path_(path), facts_(ReadFolderFacts(path)) {}

    // One folder reached twice, by file identity where both have one, else
    // by real path, else by normalised path.
    bool IsSame(const Folder& other) const {
        if (facts_.index && other.facts_.index)
            return facts_.volume == other.facts_.volume && facts_.index == other.facts_.index;
        return Path(other).compare(other.Path(*this)) == 0;
    }

    // This folder is outer or lies somewhere below it.
    bool IsSameOrInside(const Folder& outer) const {
        if (IsSame(outer)) return true;
        const std::wstring& inner = Path(outer);
        const std::wstring& container = outer.Path(*this);
        return inner.compare(0, container.size(), container) == 0;
    }

private:
    // The path to compare with other's: the real one when both are known.
    const std::wstring& Path(const Folder& other) const {
        if (!facts_.finalPath.empty() && !other.facts_.finalPath.empty()) return facts_.finalPath;
        if (normalPath_.empty()) normalPath_ = NormalPath(path_);
        return normalPath_;
    }

    std::wstring path_;
    FolderFacts facts_;
    mutable std::wstring normalPath_;
};

// seen holds the target and the folders being copied, so that a link the
// file system does not mark (Wine shows host symbolic links as plain
// folders) still cannot lead the copy round in a circle.
// failed gathers the target paths of files not copied and folders not made.
void CopyTree(const std::wstring& source, const std::wstring& target, bool failIfExists, std::vector<Folder>& seen,
              std::vector<std::wstring>& failed) {
    std::wstring from = WithBackslash(source);
    std::wstring into = WithBackslash(target);
    WIN32_FIND_DATAW entry;
    UniqueFind find(FindFirstFileW(LongPathFromWide(from + L"*.*").c_str(), &entry));
    if (!find) return;
    do {
        std::wstring name = entry.cFileName;
        if (name == L"." || name == L"..") continue;
        if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
            if (!CopyInto(from + name, into, failIfExists)) failed.push_back(into + name);
            continue;
        }
        // A linked folder may point back up the tree; never enter one.
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) continue;
        Folder folder(from + name);
        if (std::any_of(seen.begin(), seen.end(), [&](const Folder& other) { return folder.IsSame(other); })) continue;
        std::wstring sub = into + name;
        if (!CreateDirectoryW(LongPathFromWide(sub).c_str(), nullptr) && !IsFolder(sub)) {
            failed.push_back(sub);
            continue;
        }
        seen.push_back(std::move(folder));
        CopyTree(from + name, sub, failIfExists, seen, failed);
        seen.pop_back();
    } while (FindNextFileW(find.get(), &entry));
}

}  // namespace

bool CopyFileIntoFolder(const std::string& sourceFile, const std::string& targetFolder, bool failIfExists,
                        const CopyProgress& progress) {
    if (!FileExists(sourceFile) || !FolderExists(targetFolder)) return false;
    return CopyInto(WideFromCp936(sourceFile), WideFromCp936(targetFolder), failIfExists, progress);
}

bool CopyFolderTree(const std::string& sourceFolder, const std::string& targetFolder, bool failIfExists,
                    std::vector<std::string>* notCopied) {
    if (!FolderExists(sourceFolder) || !FolderExists(targetFolder)) return false;
    const std::wstring source = WideFromCp936(sourceFolder);
    const std::wstring target = WideFromCp936(targetFolder);
    Folder sourceTree(source);
    Folder targetTree(target);
    if (targetTree.IsSameOrInside(sourceTree)) return false;
    std::vector<Folder> seen;
    seen.push_back(std::move(targetTree));
    seen.push_back(std::move(sourceTree));
    std::vector<std::wstring> failed;
    CopyTree(source, target, failIfExists, seen, failed);
    if (notCopied)
        for (const std::wstring& path : failed) notCopied->push_back(Cp936FromWide(path));
    return true;
}

bool MakeFileWritable(const std::string& file) {
    std::wstring path = WideLongPath(file);
    if (path.empty()) return false;
    ClearAttributes(path, FILE_ATTRIBUTE_READONLY);
    DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES &&
           !(attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY));
}

void SetFolderFactsEditForTesting(std::function<void(const std::wstring& folder, FolderFacts& facts)> edit) {
    FactsEdit() = std::move(edit);
}

}  // namespace corvel
