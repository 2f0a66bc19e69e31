#include <windows.h>

#include <cstring>
#include <string>
#include <utility>

#include "engine/clipboard_win32.h"
#include "catalogue/unique_handle.h"
#include "catalogue/win32_text.h"

namespace corvel {

namespace {

// Another program may hold the clipboard for a moment (a clipboard manager
// reading what we just put there, say); wait a little before giving up.
bool OpenClipboardPatiently() {
    constexpr int kTries = 10;
    for (int attempt = 0; attempt < kTries; ++attempt) {
        if (OpenClipboard(nullptr)) return true;
        if (attempt + 1 < kTries) Sleep(10);
    }
    return false;
}

// A clipboard block holding bytes followed by a zeroed terminator.
UniqueGlobal CopyToGlobal(const void* data, std::size_t bytes, std::size_t terminatorBytes) {
    UniqueGlobal block(GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT | GMEM_SHARE, bytes + terminatorBytes));
    void* target = block ? GlobalLock(block.get()) : nullptr;
    if (!target) return {};
    std::memcpy(target, data, bytes);
    GlobalUnlock(block.get());
    return block;
}

// The clipboard owns the block once it is placed; until then it is ours to free.
bool Place(UINT format, UniqueGlobal block) {
    if (!block || !SetClipboardData(format, block.get())) return false;
    (void)block.release();
    return true;
}

}  // namespace

bool PutTextOnClipboard(std::string_view text) {
    if (!OpenClipboardPatiently()) return false;
    bool placed = EmptyClipboard() != FALSE;
    if (placed && !text.empty()) {
        placed = Place(CF_TEXT, CopyToGlobal(text.data(), text.size(), 1));
        // The same text for programs that read Unicode, so the Chinese survives
        // a system whose code page is not 936.
        std::wstring wide = placed ? WideFromCp936(text) : std::wstring();
        if (!wide.empty())
            placed = Place(CF_UNICODETEXT, CopyToGlobal(wide.data(), wide.size() * sizeof(wchar_t), sizeof(wchar_t)));
    }
    CloseClipboard();
    return placed;
}

bool PutFilesOnClipboard(const std::vector<std::string>& paths, DropEffect effect) {
    std::vector<std::u16string> names;
    for (const std::string& path : paths) {
        const std::wstring wide = WideFromCp936(path);
        names.emplace_back(wide.begin(), wide.end());
    }
    const std::vector<std::uint8_t> list = FileDropBlock(names);
    if (list.empty()) return false;
    const UINT effectFormat = RegisterClipboardFormatW(L"Preferred DropEffect");
    if (!effectFormat) return false;
    const DWORD effectValue = static_cast<DWORD>(effect);
    UniqueGlobal listBlock = CopyToGlobal(list.data(), list.size(), 0);
    UniqueGlobal effectBlock = CopyToGlobal(&effectValue, sizeof effectValue, 0);
    const bool opened = listBlock && effectBlock && OpenClipboardPatiently();
    if (!opened || !EmptyClipboard()) {
        if (opened) CloseClipboard();
        return false;
    }
    bool placed = Place(CF_HDROP, std::move(listBlock)) && Place(effectFormat, std::move(effectBlock));
    CloseClipboard();
    return placed;
}

}  // namespace corvel
