// Windows are described as tables of controls in twips, as data; this header is the pure part:
// no window code, so the conversions and the tab order are tested natively too.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace zelvaran::ui {

enum class ControlKind { Frame, Label, CheckBox, TextBox, Button, Picture };

enum ControlFlags : std::uint32_t {
    kNone = 0,
    kInitiallyChecked = 1u << 0, // a check box that starts checked
    kDisabled = 1u << 1,
    kCentred = 1u << 2,
    kDefaultButton = 1u << 3,
    kTransparent = 1u << 4,
    kReadOnly = 1u << 6,  // a text box the user can focus, select and copy from, not edit
    kMultiLine = 1u << 7, // a text box whose text wraps over several lines
};

struct TwipsRect {
    int Left;
    int Top;
    int Width;
    int Height;
};

struct PixelRect {
    int Left;
    int Top;
    int Width;
    int Height;
    friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

inline constexpr int kNoTabStop = -1;
inline constexpr int kWindow = 0; // container id of controls placed on the window itself

struct ControlSpec {
    int Id;                 // control id; also the key other rows use to name their container
    std::wstring_view Name; // the program's own control name, for tests and diagnostics
    ControlKind Kind;
    int Container;
    std::wstring_view Caption;
    std::uint32_t Flags;
    TwipsRect Rect;
    int TabIndex; // kNoTabStop for controls outside the tab order
};

// A name for a box that shows no label of its own: a label nobody sees, right before the box
// among its siblings, which is where a screen reader looks for the box's name.
struct HiddenLabel {
    int For; // the box's control id
    std::wstring_view Text;
};

inline constexpr int kTwipsPerInch = 1440;

// Rounds to the nearest pixel: at 96 DPI 15 twips are one pixel, at 144 DPI 10.
[[nodiscard]] constexpr int TwipsToPixels(int twips, int dpi) noexcept {
    const long long scaled = static_cast<long long>(twips) * dpi;
    return static_cast<int>(scaled >= 0 ? (scaled + kTwipsPerInch / 2) / kTwipsPerInch
                                        : -((-scaled + kTwipsPerInch / 2) / kTwipsPerInch));
}

[[nodiscard]] constexpr PixelRect ToPixels(const TwipsRect& r, int dpi) noexcept {
    return {TwipsToPixels(r.Left, dpi), TwipsToPixels(r.Top, dpi), TwipsToPixels(r.Width, dpi),
            TwipsToPixels(r.Height, dpi)};
}

struct PixelSize {
    int Width;
    int Height;
    friend bool operator==(const PixelSize&, const PixelSize&) = default;
};

// Where a window of `size` goes to sit centred on a monitor's work area (screen pixels); one
// larger than the area keeps its top-left corner, and so its caption, inside it.
[[nodiscard]] constexpr PixelRect CentredIn(const PixelRect& work, PixelSize size) noexcept {
    const int left = work.Left + (work.Width - size.Width) / 2;
    const int top = work.Top + (work.Height - size.Height) / 2;
    return {left < work.Left ? work.Left : left, top < work.Top ? work.Top : top, size.Width,
            size.Height};
}

// The outer size of a window whose client area measures the given twips, at `dpi`, with `frame`
// the borders, caption and menu bar at that DPI. It depends on the DPI alone, never on the size
// the window had before, so a window moved to another monitor and back gets its size back.
[[nodiscard]] constexpr PixelSize WindowSizeAt(int widthTwips, int heightTwips, int dpi,
                                               PixelSize frame) noexcept {
    return {TwipsToPixels(widthTwips, dpi) + frame.Width,
            TwipsToPixels(heightTwips, dpi) + frame.Height};
}

[[nodiscard]] constexpr bool TakesFocus(ControlKind kind) noexcept {
    return kind == ControlKind::CheckBox || kind == ControlKind::TextBox ||
           kind == ControlKind::Button;
}

// The access key a caption marks with '&' ("&Generar": G), upper case; 0 when it marks none.
// "&&" is a plain ampersand.
[[nodiscard]] constexpr wchar_t AccessKeyOf(std::wstring_view caption) noexcept {
    for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] == L'&') {
            if (caption[i + 1] != L'&') {
                const wchar_t c = caption[i + 1];
                return c >= L'a' && c <= L'z' ? static_cast<wchar_t>(c - L'a' + L'A') : c;
            }
            ++i;
        }
    }
    return 0;
}

[[nodiscard]] const ControlSpec* FindControl(std::span<const ControlSpec> table, int id) noexcept;

// The control that Tab (forward) or Shift+Tab moves to from `current`, following the table's tab
// indices across frames and skipping controls that cannot take the focus right now. Returns
// nothing when no control can. `canFocus` tells whether a control id is enabled and visible.
template <class CanFocus>
[[nodiscard]] std::optional<int> NextTabStop(std::span<const ControlSpec> table, int current,
                                             bool forward, CanFocus&& canFocus) {
    const ControlSpec* from = FindControl(table, current);
    const int start = from != nullptr ? from->TabIndex : (forward ? -1 : 1 << 30);
    std::optional<int> best;
    int bestIndex = 0;
    std::optional<int> wrap;
    int wrapIndex = 0;
    for (const ControlSpec& c : table) {
        if (c.TabIndex == kNoTabStop || !TakesFocus(c.Kind) || !canFocus(c.Id)) {
            continue;
        }
        const bool after = forward ? c.TabIndex > start : c.TabIndex < start;
        if (after && (!best || (forward ? c.TabIndex < bestIndex : c.TabIndex > bestIndex))) {
            best = c.Id;
            bestIndex = c.TabIndex;
        }
        if (!wrap || (forward ? c.TabIndex < wrapIndex : c.TabIndex > wrapIndex)) {
            wrap = c.Id;
            wrapIndex = c.TabIndex;
        }
    }
    return best ? best : wrap;
}

} // namespace zelvaran::ui
