// Builds a form's controls from its layout table and lays them out again when the DPI changes.
#pragma once

#include <windows.h>

#include <span>
#include <utility>
#include <vector>

#include "ui/handles.h"
#include "ui/layout.h"

namespace zelvaran::ui {

class ControlSet {
public:
    // Creates every row of the table under `owner`, frames first as real containers, at `dpi`.
    // Pictures name their bitmap resource in the caption column.
    [[nodiscard]] bool Create(HWND owner, std::span<const ControlSpec> table, int dpi) noexcept;
    // Moves and resizes every control and swaps the font for `dpi`.
    void Relayout(int dpi) noexcept;

    [[nodiscard]] HWND Get(int id) const noexcept;
    [[nodiscard]] int Dpi() const noexcept { return dpi_; }
    [[nodiscard]] std::span<const ControlSpec> Table() const noexcept { return table_; }
    [[nodiscard]] HFONT Font() const noexcept { return font_.get(); }

private:
    [[nodiscard]] HWND CreateOne(const ControlSpec& row) noexcept;
    [[nodiscard]] HWND ContainerOf(const ControlSpec& row) const noexcept;

    HWND owner_ = nullptr;
    std::span<const ControlSpec> table_;
    std::vector<std::pair<int, HWND>> windows_;
    std::vector<UniqueBitmap> bitmaps_;
    UniqueFont font_;
    int dpi_ = USER_DEFAULT_SCREEN_DPI;
};

// The platform's default dialog font (MS Shell Dlg 2, 8 points) at `dpi`.
[[nodiscard]] UniqueFont CreateDialogFont(int dpi) noexcept;

// The DPI a window is shown at (the system's on systems without per-window DPI).
[[nodiscard]] int WindowDpi(HWND hwnd) noexcept;

// Outer size of a window whose client area is `client` pixels, for its styles and menu.
[[nodiscard]] SIZE WindowSizeForClient(SIZE client, DWORD style, DWORD exStyle, bool hasMenu,
                                       int dpi) noexcept;

// Resizes a window so that its client area is exactly `client` pixels, whatever its frame and
// menu bar measure at its current DPI.
void SetClientSize(HWND hwnd, SIZE client) noexcept;

// The window whose monitor every window of the program opens on: the main window. Without one
// (or once it is gone), the primary monitor.
void SetPlacementAnchor(HWND window) noexcept;

// Top-left corner that centres a window of `size` on the work area of the anchor's monitor.
[[nodiscard]] POINT CentredOnScreen(SIZE size) noexcept;

} // namespace zelvaran::ui
