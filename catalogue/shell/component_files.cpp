#include "catalogue/shell/component_files.h"

#include <windows.h>

#include "catalogue/long_path.h"
#include "catalogue/unique_handle.h"
#include "catalogue/win32_text.h"

namespace corvel {

namespace {

bool HasComponentExtension(std::wstring_view name) {
    constexpr std::wstring_view kExtension = L".cpn";
    return name.size() > kExtension.size() &&
           CompareStringOrdinal(name.data() + name.size() - kExtension.size(), static_cast<int>(kExtension.size()),
                                kExtension.data(), static_cast<int>(kExtension.size()), TRUE) == CSTR_EQUAL;
}

}  // namespace

std::vector<std::string> ComponentFiles(const std::string& folder) {
    std::vector<std::string> names;
    std::wstring base = WideFromCp936(folder);
    if (base.empty()) return names;
    if (base.back() != L'\\' && base.back() != L'/') base += L'\\';
    WIN32_FIND_DATAW found;
    UniqueFind search(FindFirstFileW(LongPathFromWide(base + L"*.cpn").c_str(), &found));
    if (!search) return names;
    do {
        // A folder named "x.cpn" matches the pattern too; "." and ".." are
        // folders. So does "x.cpn_old" through its short name "X~1.CPN".
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && HasComponentExtension(found.cFileName))
            names.push_back(Cp936FromWide(found.cFileName));
    } while (FindNextFileW(search.get(), &found));
    return names;
}

}  // namespace corvel
