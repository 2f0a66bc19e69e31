#include "testdrive_rules.h"

namespace corvel {

namespace {

bool IsLetter(wchar_t c) {
    return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z');
}

wchar_t UpperAscii(wchar_t c) {
    return (c >= L'a' && c <= L'z') ? static_cast<wchar_t>(c - L'a' + L'A') : c;
}

bool StartsWithIgnoringCase(std::wstring_view text, std::wstring_view prefix) {
    if (text.size() < prefix.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        if (UpperAscii(text[i]) != prefix[i]) return false;
    }
    return true;
}

}  // namespace

DriveUse ClassifyDrive(std::wstring_view letterText, const std::optional<std::wstring>& target) {
    if (!target) return DriveUse::Free;
    // Disks, CD drives and network drives are devices; a mapped folder is not.
    if (StartsWithIgnoringCase(*target, L"\\DEVICE\\")) return DriveUse::RealDrive;
    std::wstring upper(*target);
    for (wchar_t& c : upper) c = UpperAscii(c);
    std::wstring letter(letterText);
    for (wchar_t& c : letter) c = UpperAscii(c);
    // A letter that stands for itself is no folder either.
    return upper == letter ? DriveUse::RealDrive : DriveUse::FolderMapping;
}

std::wstring DisplayedFolder(std::wstring_view target) {
    if (target.empty() || IsLetter(target.front())) return std::wstring(target);
    for (std::size_t i = 1; i < target.size(); ++i) {
        if (IsLetter(target[i])) return std::wstring(target.substr(i));
    }
    return {};
}

bool IsDriveLetterText(std::wstring_view text) {
    return text.size() == 2 && IsLetter(text[0]) && text[1] == L':';
}

CreateRefusal CheckCreate(std::wstring_view folder, bool folderExists,
                          const std::optional<std::wstring>& chosenLetter) {
    if (folder.empty()) return CreateRefusal::EmptyFolder;
    if (!folderExists) return CreateRefusal::MissingFolder;
    // "X:" and "X:\" name a whole drive, which is a drive already.
    if (folder.size() < 4) return CreateRefusal::DriveRoot;
    if (!chosenLetter) return CreateRefusal::NoLetter;
    if (chosenLetter->empty()) return CreateRefusal::InvalidLetter;
    return CreateRefusal::None;
}

DeleteRefusal CheckDelete(const std::optional<std::wstring>& chosenLetter) {
    if (!chosenLetter) return DeleteRefusal::NoLetter;
    if (chosenLetter->empty()) return DeleteRefusal::InvalidLetter;
    return DeleteRefusal::None;
}

}  // namespace corvel
