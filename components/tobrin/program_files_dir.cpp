#include "components/tobrin/program_files_dir.h"

#include <windows.h>

#include <optional>

#include "catalogue/unique_handle.h"
#include "components/tobrin/tobrin_rules.h"

namespace corvel::tobrin {

namespace {

constexpr wchar_t kKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion";

// One value in one registry view.
struct FolderValue {
    REGSAM view;
    const wchar_t* name;
    // Only the system makes "(x86)", on 64-bit Windows.
    bool createWhenMissing;
};

// Installers and MSI packages of either kind read their own view. On 32-bit
// Windows the view flags are ignored and each pair names one key.
constexpr FolderValue kFolderValues[] = {
    {KEY_WOW64_64KEY, L"ProgramFilesDir", true},
    {KEY_WOW64_32KEY, L"ProgramFilesDir", true},
    {KEY_WOW64_64KEY, L"ProgramFilesDir (x86)", false},
    {KEY_WOW64_32KEY, L"ProgramFilesDir (x86)", false},
};

// The key that holds the folder values, in one view, open for reading and
// writing.
class FolderKey {
public:
    explicit FolderKey(REGSAM view) {
        HKEY key = nullptr;
        if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kKey, 0, KEY_QUERY_VALUE | KEY_SET_VALUE | view, &key) == ERROR_SUCCESS)
            key_.reset(key);
    }

    explicit operator bool() const { return key_.valid(); }

    // Only a string value counts.
    std::optional<std::wstring> Read(const std::wstring& name) const {
        DWORD size = 0;
        if (RegGetValueW(key_.get(), nullptr, name.c_str(), RRF_RT_REG_SZ, nullptr, nullptr, &size) != ERROR_SUCCESS)
            return std::nullopt;
        std::wstring text(size / sizeof(wchar_t) + 1, L'\0');
        size = static_cast<DWORD>(text.size() * sizeof(wchar_t));
        if (RegGetValueW(key_.get(), nullptr, name.c_str(), RRF_RT_REG_SZ, nullptr, text.data(), &size) !=
            ERROR_SUCCESS)
            return std::nullopt;
        text.resize(wcsnlen(text.c_str(), text.size()));
        return text;
    }

    bool Write(const std::wstring& name, const std::wstring& text) const {
        return RegSetValueExW(key_.get(), name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                              static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
    }

    void Remove(const std::wstring& name) const { RegDeleteValueW(key_.get(), name.c_str()); }

private:
    UniqueKey key_;
};

}  // namespace

void PointFolderValuesAt(const std::wstring& folder) {
    for (const FolderValue& value : kFolderValues) {
        FolderKey key(value.view);
        if (!key) continue;
        const std::wstring keptName = KeptValueName(value.name);
        FolderValueState state{key.Read(value.name), key.Read(keptName).has_value()};
        KeepStep step = KeepStepFor(state, folder, value.createWhenMissing);
        if (step == KeepStep::LeaveAlone) continue;
        // Changed without its kept original, a crash would lose it for good.
        if (step == KeepStep::KeepCurrent && !key.Write(keptName, *state.current)) continue;
        key.Write(value.name, folder);
    }
}

void PutBackFolderValues() {
    for (const FolderValue& value : kFolderValues) {
        FolderKey key(value.view);
        if (!key) continue;
        const std::wstring keptName = KeptValueName(value.name);
        std::optional<std::wstring> kept = key.Read(keptName);
        // Forgotten only once it is back, so a failed write is tried again.
        if (kept && key.Write(value.name, *kept)) key.Remove(keptName);
    }
}

}  // namespace corvel::tobrin
