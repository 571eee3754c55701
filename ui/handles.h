// Move-only owners for the Win32 handles the program frees itself.
#pragma once

#include <windows.h>

#include <utility>

namespace zelvaran::ui {

template <class Traits> class UniqueHandle {
public:
    using Handle = typename Traits::Handle;

    UniqueHandle() noexcept = default;
    explicit UniqueHandle(Handle handle) noexcept : handle_(handle) {}
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) {
            reset(other.release());
        }
        return *this;
    }
    ~UniqueHandle() { reset(); }

    [[nodiscard]] Handle get() const noexcept { return handle_; }
    explicit operator bool() const noexcept { return handle_ != Handle{}; }

    // Hands the handle to someone else (the system, usually); we no longer free it.
    [[nodiscard]] Handle release() noexcept { return std::exchange(handle_, Handle{}); }

    void reset(Handle handle = Handle{}) noexcept {
        Handle old = std::exchange(handle_, handle);
        if (old != Handle{}) {
            Traits::Close(old);
        }
    }

private:
    Handle handle_{};
};

// Every kind of GDI object that DeleteObject frees: fonts, bitmaps, brushes.
template <class ObjectHandle> struct GdiObjectTraits {
    using Handle = ObjectHandle;
    static void Close(Handle h) noexcept { DeleteObject(h); }
};
struct IconTraits {
    using Handle = HICON;
    static void Close(Handle h) noexcept { DestroyIcon(h); }
};
struct WindowTraits {
    using Handle = HWND;
    static void Close(Handle h) noexcept { DestroyWindow(h); }
};
struct MenuTraits {
    using Handle = HMENU;
    static void Close(Handle h) noexcept { DestroyMenu(h); }
};
struct GlobalTraits {
    using Handle = HGLOBAL;
    static void Close(Handle h) noexcept { GlobalFree(h); }
};
struct RegKeyTraits {
    using Handle = HKEY;
    static void Close(Handle h) noexcept { RegCloseKey(h); }
};
struct KernelHandleTraits {
    using Handle = HANDLE;
    static void Close(Handle h) noexcept { CloseHandle(h); }
};

using UniqueFont = UniqueHandle<GdiObjectTraits<HFONT>>;
using UniqueBitmap = UniqueHandle<GdiObjectTraits<HBITMAP>>;
using UniqueBrush = UniqueHandle<GdiObjectTraits<HBRUSH>>;
using UniqueIcon = UniqueHandle<IconTraits>;
using UniqueWindow = UniqueHandle<WindowTraits>;
using UniqueMenu = UniqueHandle<MenuTraits>;
using UniqueGlobal = UniqueHandle<GlobalTraits>;
using UniqueRegKey = UniqueHandle<RegKeyTraits>;
using UniqueKernelHandle = UniqueHandle<KernelHandleTraits>;

} // namespace zelvaran::ui
