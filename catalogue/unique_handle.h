// One owner for every kind of Win32 handle: it frees its handle once, when
// it goes out of scope or is given another. Windows builds only.
#pragma once

#include <windows.h>

#include <commctrl.h>
#include <objbase.h>

#include <cstdint>
#include <type_traits>
#include <utility>

namespace corvel {

// Owns one handle of type T, freed by Free (which tells whether freeing
// succeeded); the handle whose value is Invalid owns nothing. Move-only.
template <typename T, bool (*Free)(T), std::intptr_t Invalid = 0>
class UniqueAny {
public:
    using Handle = T;

    static T InvalidValue() {
        if constexpr (std::is_pointer_v<T>)
            return reinterpret_cast<T>(Invalid);
        else
            return static_cast<T>(Invalid);
    }

    UniqueAny() = default;
    explicit UniqueAny(T handle) : handle_(handle) {}
    ~UniqueAny() { reset(); }

    UniqueAny(UniqueAny&& other) noexcept : handle_(other.release()) {}
    UniqueAny& operator=(UniqueAny&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }
    UniqueAny(const UniqueAny&) = delete;
    UniqueAny& operator=(const UniqueAny&) = delete;

    T get() const { return handle_; }
    bool valid() const { return handle_ != InvalidValue(); }
    explicit operator bool() const { return valid(); }

    // Frees the handle held, if any, and takes handle instead.
    void reset(T handle = InvalidValue()) {
        T old = std::exchange(handle_, handle);
        if (old != InvalidValue()) Free(old);
    }

    // Gives the handle up without freeing it.
    [[nodiscard]] T release() { return std::exchange(handle_, InvalidValue()); }

    // Frees now; false when freeing failed (for a file, a write may have been
    // lost). Holding nothing counts as success.
    bool Close() {
        T old = release();
        return old == InvalidValue() || Free(old);
    }

    // For functions that hand a new handle back through a pointer: frees the
    // one held first.
    T* put() {
        reset();
        return &handle_;
    }

private:
    T handle_ = InvalidValue();
};

namespace handle_close {

inline bool Handle(HANDLE handle) {
    return CloseHandle(handle) != 0;
}
template <typename T>
bool GdiObject(T object) {
    return DeleteObject(object) != 0;
}
inline bool Icon(HICON icon) {
    return DestroyIcon(icon) != 0;
}
inline bool ImageList(HIMAGELIST list) {
    return ImageList_Destroy(list) != 0;
}
inline bool Menu(HMENU menu) {
    return DestroyMenu(menu) != 0;
}
inline bool Module(HMODULE module) {
    return FreeLibrary(module) != 0;
}
inline bool Key(HKEY key) {
    return RegCloseKey(key) == ERROR_SUCCESS;
}
inline bool Find(HANDLE find) {
    return FindClose(find) != 0;
}
inline bool MemoryDc(HDC dc) {
    return DeleteDC(dc) != 0;
}
template <typename T>
bool Local(T memory) {
    return LocalFree(memory) == nullptr;
}
inline bool Global(HGLOBAL memory) {
    return GlobalFree(memory) == nullptr;
}
template <typename T>
bool CoTaskMemory(T memory) {
    CoTaskMemFree(memory);
    return true;
}

}  // namespace handle_close

// CreateFile's handles, INVALID_HANDLE_VALUE when none.
using UniqueFile = UniqueAny<HANDLE, handle_close::Handle, -1>;
// Processes, threads, events, mutexes, tokens: null when none.
using UniqueHandle = UniqueAny<HANDLE, handle_close::Handle>;
using UniqueFind = UniqueAny<HANDLE, handle_close::Find, -1>;
template <typename T>
using UniqueGdiObject = UniqueAny<T, handle_close::GdiObject<T>>;
using UniqueFont = UniqueGdiObject<HFONT>;
using UniqueBitmap = UniqueGdiObject<HBITMAP>;
using UniqueBrush = UniqueGdiObject<HBRUSH>;
using UniqueRegion = UniqueGdiObject<HRGN>;
using UniqueIcon = UniqueAny<HICON, handle_close::Icon>;
using UniqueImageList = UniqueAny<HIMAGELIST, handle_close::ImageList>;
using UniqueMenu = UniqueAny<HMENU, handle_close::Menu>;
using UniqueModule = UniqueAny<HMODULE, handle_close::Module>;
using UniqueKey = UniqueAny<HKEY, handle_close::Key>;
// A DC of CreateCompatibleDC's; a window's DC goes back with ReleaseDC.
using UniqueMemoryDc = UniqueAny<HDC, handle_close::MemoryDc>;
template <typename T>
using UniqueLocal = UniqueAny<T, handle_close::Local<T>>;
using UniqueGlobal = UniqueAny<HGLOBAL, handle_close::Global>;
template <typename T>
using UniqueCoTaskMemory = UniqueAny<T, handle_close::CoTaskMemory<T>>;

}  // namespace corvel
