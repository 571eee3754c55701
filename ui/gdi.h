// Owners of the device contexts the program draws and measures with: a window's context, a
// memory context, and an object selected into a context. Each puts back or frees what it took.
#pragma once

#include <windows.h>

#include "ui/handles.h"

namespace zelvaran::ui {

// A window's device context (GetDC), released when done.
class WindowDc {
public:
    explicit WindowDc(HWND hwnd) noexcept : hwnd_(hwnd), dc_(GetDC(hwnd)) {}
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    ~WindowDc() {
        if (dc_ != nullptr) {
            // Nothing to do when the system refuses: the context was the window's own.
            static_cast<void>(ReleaseDC(hwnd_, dc_));
        }
    }
    [[nodiscard]] HDC get() const noexcept { return dc_; }

private:
    HWND hwnd_;
    HDC dc_;
};

// An object selected into a context for as long as this lives; the original is put back, so the
// object can then be freed or made into a brush.
class SelectedObject {
public:
    SelectedObject(HDC dc, HGDIOBJ object) noexcept
        : dc_(dc), old_(dc != nullptr && object != nullptr ? SelectObject(dc, object) : nullptr) {}
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;
    ~SelectedObject() {
        if (ok()) {
            SelectObject(dc_, old_);
        }
    }
    // False when there was nothing to select or the context refused it.
    [[nodiscard]] bool ok() const noexcept { return old_ != nullptr && old_ != HGDI_ERROR; }

private:
    HDC dc_;
    HGDIOBJ old_;
};

// A memory context compatible with `compatibleWith` (the screen when null), holding `selected`
// until it goes; the object is put back before the context is deleted.
class MemoryDc {
public:
    explicit MemoryDc(HDC compatibleWith, HGDIOBJ selected = nullptr) noexcept
        : dc_(CreateCompatibleDC(compatibleWith)), selecting_(selected != nullptr),
          selected_(dc_.get(), selected) {}
    // False when the context could not be made or the object not selected into it.
    [[nodiscard]] bool ok() const noexcept { return dc_ && (!selecting_ || selected_.ok()); }
    [[nodiscard]] HDC get() const noexcept { return dc_.get(); }

private:
    UniqueHandle<ClosedBy<HDC, &DeleteDC>>
        dc_; // declared first: deleted after the object is put back
    bool selecting_;
    SelectedObject selected_;
};

} // namespace zelvaran::ui
