// Move-only owners for the Win32 handles the program frees itself.
#pragma once

#include <windows.h>

#include <combaseapi.h>

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

// The traits of a handle freed by one platform function. A failure to free has no remedy in a
// destructor, so its result is not looked at.
template <class HandleType, auto CloseFunction> struct ClosedBy {
    using Handle = HandleType;
    static void Close(Handle h) noexcept { static_cast<void>(CloseFunction(h)); }
};

// Every kind of GDI object that DeleteObject frees: fonts, bitmaps, brushes.
template <class ObjectHandle> using GdiObjectTraits = ClosedBy<ObjectHandle, &DeleteObject>;

using UniqueFont = UniqueHandle<GdiObjectTraits<HFONT>>;
using UniqueBitmap = UniqueHandle<GdiObjectTraits<HBITMAP>>;
using UniqueBrush = UniqueHandle<GdiObjectTraits<HBRUSH>>;
using UniqueIcon = UniqueHandle<ClosedBy<HICON, &DestroyIcon>>;
using UniqueWindow = UniqueHandle<ClosedBy<HWND, &DestroyWindow>>;
using UniqueMenu = UniqueHandle<ClosedBy<HMENU, &DestroyMenu>>;
using UniqueGlobal = UniqueHandle<ClosedBy<HGLOBAL, &GlobalFree>>;
using UniqueRegKey = UniqueHandle<ClosedBy<HKEY, &RegCloseKey>>;
using UniqueKernelHandle = UniqueHandle<ClosedBy<HANDLE, &CloseHandle>>;
// What the security and text conversions allocate for their caller.
using UniqueLocalMemory = UniqueHandle<ClosedBy<HLOCAL, &LocalFree>>;
using UniqueCoTaskText = UniqueHandle<ClosedBy<PWSTR, &CoTaskMemFree>>;

} // namespace zelvaran::ui
