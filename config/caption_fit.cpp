#include "config/caption_fit.h"

#include <commctrl.h>

#include <algorithm>

#include "ui/gdi.h"

namespace zelvaran::config {

int RightLimitTwips(std::span<const ui::ControlSpec> table, const ui::ControlSpec& row,
                    int windowWidthTwips) noexcept {
    int limit = windowWidthTwips;
    if (row.Container != ui::kWindow) {
        const ui::ControlSpec* container = ui::FindControl(table, row.Container);
        limit = container != nullptr ? container->Rect.Width : row.Rect.Left + row.Rect.Width;
    }
    const int right = row.Rect.Left + row.Rect.Width;
    for (const ui::ControlSpec& other : table) {
        const bool sameRow = other.Rect.Top < row.Rect.Top + row.Rect.Height &&
                             row.Rect.Top < other.Rect.Top + other.Rect.Height;
        if (other.Id != row.Id && other.Container == row.Container && sameRow &&
            other.Rect.Left >= right) {
            limit = std::min(limit, other.Rect.Left);
        }
    }
    // Never narrower than the table made it.
    return std::max(limit - kFitMarginTwips, right);
}

int CheckBoxCaptionWidth(HWND box, int dpi) noexcept {
    SIZE ideal{};
    if (SendMessageW(box, BCM_GETIDEALSIZE, 0, reinterpret_cast<LPARAM>(&ideal)) != FALSE &&
        ideal.cx > 0) {
        return ideal.cx;
    }
    // Without the version 6 controls: the caption's extent beside the check mark, and a gap.
    wchar_t text[128] = {};
    const int length = GetWindowTextW(box, text, 128);
    ui::WindowDc dc(box);
    if (dc.get() == nullptr) {
        return 0;
    }
    SIZE extent{};
    {
        // Without a font of its own the box draws with the system's, which the context has.
        const ui::SelectedObject font(
            dc.get(), reinterpret_cast<HGDIOBJ>(SendMessageW(box, WM_GETFONT, 0, 0)));
        if (!GetTextExtentPoint32W(dc.get(), text, length, &extent)) {
            return 0;
        }
    }
    return extent.cx + GetSystemMetricsForDpi(SM_CXMENUCHECK, static_cast<UINT>(dpi)) +
           ui::TwipsToPixels(75, dpi);
}

void WidenCheckBoxesToFitCaptions(const ui::ControlSet& controls, int windowWidthTwips,
                                  int dpi) noexcept {
    const std::span<const ui::ControlSpec> table = controls.Table();
    for (const ui::ControlSpec& row : table) {
        HWND box = controls.Get(row.Id);
        if (row.Kind != ui::ControlKind::CheckBox || box == nullptr) {
            continue;
        }
        const ui::PixelRect px = ui::ToPixels(row.Rect, dpi);
        const int needed = CheckBoxCaptionWidth(box, dpi);
        if (needed <= px.Width) {
            continue;
        }
        const int room =
            ui::TwipsToPixels(RightLimitTwips(table, row, windowWidthTwips), dpi) - px.Left;
        SetWindowPos(box, nullptr, 0, 0, std::min(needed, room), px.Height,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

} // namespace zelvaran::config
