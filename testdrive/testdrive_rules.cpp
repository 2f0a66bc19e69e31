#include "testdrive/testdrive_rules.h"

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

bool EqualsIgnoringCase(std::wstring_view a, std::wstring_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (UpperAscii(a[i]) != UpperAscii(b[i])) return false;
    }
    return true;
}

// "D:\CD\" and "D:\CD" name one folder.
std::wstring_view WithoutTrailingBackslashes(std::wstring_view folder) {
    while (!folder.empty() && folder.back() == L'\\') folder.remove_suffix(1);
    return folder;
}

constexpr std::wstring_view kMapSwitch = L"/map-elevated";
constexpr std::wstring_view kUnmapSwitch = L"/unmap-elevated";

// Quoted for the system's command line parser, which takes backslashes
// before the closing quote for an escape: those are doubled. A folder's
// name never holds a quote.
std::wstring Quoted(std::wstring_view folder) {
    std::size_t trailing = 0;
    while (trailing < folder.size() && folder[folder.size() - 1 - trailing] == L'\\') ++trailing;
    return L"\"" + std::wstring(folder) + std::wstring(trailing, L'\\') + L"\"";
}

}  // namespace

DriveUse ClassifyDrive(std::wstring_view letterText, const std::optional<std::wstring>& target) {
    if (!target) return DriveUse::Free;
    // Disks, CD drives and network drives are devices; a mapped folder is not.
    if (StartsWithIgnoringCase(*target, L"\\DEVICE\\")) return DriveUse::RealDrive;
    // A letter that stands for itself is no folder either.
    return EqualsIgnoringCase(*target, letterText) ? DriveUse::RealDrive : DriveUse::FolderMapping;
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

std::wstring HiddenParameters(const HiddenRequest& request) {
    if (request.task == HiddenTask::UnmapForElevated) return std::wstring(kUnmapSwitch) + L" " + request.letter;
    return std::wstring(kMapSwitch) + L" " + request.letter + L" " + Quoted(request.folder);
}

std::optional<HiddenRequest> ParseHiddenRequest(const std::vector<std::wstring>& arguments) {
    if (arguments.size() == 3 && arguments[0] == kMapSwitch && IsDriveLetterText(arguments[1]) && !arguments[2].empty())
        return HiddenRequest{HiddenTask::MapForElevated, arguments[1], arguments[2]};
    if (arguments.size() == 2 && arguments[0] == kUnmapSwitch && IsDriveLetterText(arguments[1]))
        return HiddenRequest{HiddenTask::UnmapForElevated, arguments[1], {}};
    return std::nullopt;
}

HiddenStep DecideHiddenStep(const HiddenRequest& request, const std::optional<std::wstring>& target,
                            bool folderExists) {
    const DriveUse use = ClassifyDrive(request.letter, target);
    if (request.task == HiddenTask::UnmapForElevated) {
        if (use == DriveUse::Free) return HiddenStep::AlreadyDone;
        return use == DriveUse::FolderMapping ? HiddenStep::Remove : HiddenStep::Refuse;
    }
    if (!folderExists) return HiddenStep::Refuse;
    if (use == DriveUse::Free) return HiddenStep::Define;
    // Left from a Delete whose elevation was declined: the letter is there.
    if (use == DriveUse::FolderMapping && EqualsIgnoringCase(WithoutTrailingBackslashes(DisplayedFolder(*target)),
                                                             WithoutTrailingBackslashes(request.folder)))
        return HiddenStep::AlreadyDone;
    return HiddenStep::Refuse;
}

ResultMessage MessageAfter(HiddenTask task, ElevatedCopy copy) {
    const bool elevatedToo = copy == ElevatedCopy::NotNeeded || copy == ElevatedCopy::Done;
    if (task == HiddenTask::MapForElevated)
        return elevatedToo ? ResultMessage::Created : ResultMessage::CreatedNotForElevated;
    return elevatedToo ? ResultMessage::Deleted : ResultMessage::DeletedNotForElevated;
}

}  // namespace corvel
