#include "ui/controls.h"

#include <commctrl.h>

#include <cstdint>
#include <string>
#include <vector>

#include "ui/picture_scale.h"

#include "ui/picture.h"

namespace zelvaran::ui {
namespace {

// Draws a picture control's bitmap scaled to the control, by the program's own filter: Windows
// would draw it at its natural size and Wine stretches it its own way.
void DrawPicture(HWND picture, HDC dc) noexcept {
    auto* bitmap = reinterpret_cast<HBITMAP>(SendMessageW(picture, STM_GETIMAGE, IMAGE_BITMAP, 0));
    BITMAP info{};
    RECT box{};
    if (bitmap == nullptr || GetObjectW(bitmap, sizeof(info), &info) == 0 ||
        !GetClientRect(picture, &box) || box.right <= 0 || box.bottom <= 0) {
        return;
    }
    BITMAPINFO format{};
    format.bmiHeader.biSize = sizeof(format.bmiHeader);
    format.bmiHeader.biWidth = info.bmWidth;
    format.bmiHeader.biHeight = -info.bmHeight; // rows top down
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    format.bmiHeader.biCompression = BI_RGB;
    try {
        std::vector<std::uint32_t> pixels(static_cast<std::size_t>(info.bmWidth) *
                                          static_cast<std::size_t>(info.bmHeight));
        if (GetDIBits(dc, bitmap, 0, static_cast<UINT>(info.bmHeight), pixels.data(), &format,
                      DIB_RGB_COLORS) != info.bmHeight) {
            return;
        }
        const std::vector<std::uint32_t> scaled = ScalePicture(
            pixels, static_cast<std::size_t>(info.bmWidth), static_cast<std::size_t>(info.bmHeight),
            static_cast<std::size_t>(box.right), static_cast<std::size_t>(box.bottom));
        if (scaled.empty()) {
            return;
        }
        format.bmiHeader.biWidth = box.right;
        format.bmiHeader.biHeight = -box.bottom;
        // A failed draw leaves the box as it was; the next paint tries again.
        static_cast<void>(SetDIBitsToDevice(
            dc, 0, 0, static_cast<DWORD>(box.right), static_cast<DWORD>(box.bottom), 0, 0, 0,
            static_cast<UINT>(box.bottom), scaled.data(), &format, DIB_RGB_COLORS));
    } catch (...) {
        // Out of memory for the pixels: the box stays as it was.
    }
}

LRESULT CALLBACK PictureProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR,
                             DWORD_PTR) noexcept {
    switch (msg) {
    case WM_ERASEBKGND:
        return 1; // the picture covers the whole box
    case WM_PAINT: {
        PAINTSTRUCT paint{};
        if (HDC dc = BeginPaint(hwnd, &paint)) {
            DrawPicture(hwnd, dc);
            EndPaint(hwnd, &paint);
        }
        return 0;
    }
    case WM_PRINTCLIENT:
        DrawPicture(hwnd, reinterpret_cast<HDC>(wParam));
        return 0;
    case WM_SIZE:
        InvalidateRect(hwnd, nullptr, FALSE); // a new size is a new picture, not a moved one
        break;
    default:
        break;
    }
    return DefSubclassProc(hwnd, msg, wParam, lParam);
}

// Group boxes do not pass their children's notifications on; the form needs them, so frames
// forward everything a child reports to their own parent.
LRESULT CALLBACK FrameProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR,
                           DWORD_PTR) noexcept {
    switch (msg) {
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN:
    case WM_DRAWITEM:
        return SendMessageW(GetParent(hwnd), msg, wParam, lParam);
    default:
        return DefSubclassProc(hwnd, msg, wParam, lParam);
    }
}

struct ClassAndStyle {
    const wchar_t* ClassName;
    DWORD Style;
    DWORD ExStyle;
};

ClassAndStyle StyleFor(const ControlSpec& row) noexcept {
    DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
    if ((row.Flags & kDisabled) != 0) {
        style |= WS_DISABLED;
    }
    const bool centred = (row.Flags & kCentred) != 0;
    switch (row.Kind) {
    case ControlKind::Frame:
        return {WC_BUTTONW, style | BS_GROUPBOX, WS_EX_CONTROLPARENT};
    case ControlKind::Label:
        // A label that marks an access key shows it underlined; any other shows '&' as written.
        return {WC_STATICW,
                style | (AccessKeyOf(row.Caption) != 0 ? 0 : SS_NOPREFIX) |
                    (centred ? SS_CENTER : SS_LEFT),
                0};
    case ControlKind::CheckBox:
        return {WC_BUTTONW, style | WS_TABSTOP | BS_AUTOCHECKBOX, 0};
    case ControlKind::TextBox: {
        const bool multiLine = (row.Flags & kMultiLine) != 0;
        return {WC_EDITW,
                style | WS_TABSTOP | (centred ? ES_CENTER : ES_LEFT) |
                    ((row.Flags & kReadOnly) != 0 ? ES_READONLY : 0) |
                    (multiLine ? ES_MULTILINE | ES_AUTOVSCROLL | WS_VSCROLL : ES_AUTOHSCROLL),
                WS_EX_CLIENTEDGE};
    }
    case ControlKind::Button:
        return {WC_BUTTONW,
                style | WS_TABSTOP |
                    ((row.Flags & kDefaultButton) != 0 ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON),
                0};
    case ControlKind::Picture:
        return {WC_STATICW, style | SS_BITMAP | SS_REALSIZEIMAGE, 0};
    }
    return {WC_STATICW, style, 0};
}

} // namespace

UniqueFont CreateDialogFont(int dpi) noexcept {
    LOGFONTW lf{};
    lf.lfHeight = -MulDiv(8, dpi, 72);
    lf.lfWeight = FW_NORMAL;
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfQuality = DEFAULT_QUALITY;
    lstrcpynW(lf.lfFaceName, L"MS Shell Dlg 2", LF_FACESIZE);
    return UniqueFont(CreateFontIndirectW(&lf));
}

int WindowDpi(HWND hwnd) noexcept {
    const UINT dpi = hwnd != nullptr ? GetDpiForWindow(hwnd) : 0;
    return dpi != 0 ? static_cast<int>(dpi) : static_cast<int>(GetDpiForSystem());
}

SIZE WindowSizeForClient(SIZE client, DWORD style, DWORD exStyle, bool hasMenu, int dpi) noexcept {
    RECT r{0, 0, client.cx, client.cy};
    AdjustWindowRectExForDpi(&r, style, hasMenu ? TRUE : FALSE, exStyle, static_cast<UINT>(dpi));
    return {r.right - r.left, r.bottom - r.top};
}

void SetClientSize(HWND hwnd, SIZE client) noexcept {
    for (int attempt = 0; attempt < 2; ++attempt) { // a menu bar may wrap once after resizing
        RECT outer{};
        RECT inner{};
        if (!GetWindowRect(hwnd, &outer) || !GetClientRect(hwnd, &inner)) {
            return;
        }
        if (inner.right == client.cx && inner.bottom == client.cy) {
            return;
        }
        const int width = (outer.right - outer.left) - inner.right + client.cx;
        const int height = (outer.bottom - outer.top) - inner.bottom + client.cy;
        SetWindowPos(hwnd, nullptr, 0, 0, width, height,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

namespace {
HWND g_anchor = nullptr;
} // namespace

void SetPlacementAnchor(HWND window) noexcept {
    g_anchor = window;
}

POINT CentredOnScreen(SIZE size) noexcept {
    // A minimised (or hidden in the notification area) main window counts by the place it had.
    HMONITOR monitor = g_anchor != nullptr && IsWindow(g_anchor)
                           ? MonitorFromWindow(g_anchor, MONITOR_DEFAULTTONEAREST)
                           : MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY);
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    RECT work{};
    if (monitor != nullptr && GetMonitorInfoW(monitor, &info)) {
        work = info.rcWork;
    } else if (!SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0)) {
        work = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    }
    const PixelRect at = CentredIn(
        {work.left, work.top, work.right - work.left, work.bottom - work.top}, {size.cx, size.cy});
    return {at.Left, at.Top};
}

bool ControlSet::Create(HWND owner, std::span<const ControlSpec> table, int dpi) noexcept {
    owner_ = owner;
    table_ = table;
    dpi_ = dpi;
    font_ = CreateDialogFont(dpi);
    windows_.clear();
    windows_.reserve(table.size());
    // Containers are created before what they hold; the table lists frames before their contents
    // only by tab index, so make two passes.
    for (int pass = 0; pass < 2; ++pass) {
        for (const ControlSpec& row : table) {
            if ((row.Kind == ControlKind::Frame) != (pass == 0)) {
                continue;
            }
            HWND hwnd = CreateOne(row);
            if (hwnd == nullptr) {
                return false;
            }
            windows_.emplace_back(row.Id, hwnd);
        }
    }
    return true;
}

HWND ControlSet::ContainerOf(const ControlSpec& row) const noexcept {
    return row.Container == kWindow ? owner_ : Get(row.Container);
}

HWND ControlSet::CreateOne(const ControlSpec& row) noexcept {
    const ClassAndStyle cs = StyleFor(row);
    const PixelRect px = ToPixels(row.Rect, dpi_);
    const std::wstring caption(row.Kind == ControlKind::Picture ? std::wstring_view{}
                                                                : row.Caption);
    HWND parent = ContainerOf(row);
    HWND hwnd = CreateWindowExW(cs.ExStyle, cs.ClassName, caption.c_str(), cs.Style, px.Left,
                                px.Top, px.Width, px.Height, parent,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(row.Id)),
                                GetModuleHandleW(nullptr), nullptr);
    if (hwnd == nullptr) {
        return nullptr;
    }
    SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
    switch (row.Kind) {
    case ControlKind::Frame:
        // Without the subclass the form would never hear from the frame's children; the call
        // cannot fail for a window of this thread.
        static_cast<void>(SetWindowSubclass(hwnd, &FrameProc, 1, 0));
        break;
    case ControlKind::CheckBox:
        if ((row.Flags & kInitiallyChecked) != 0) {
            SendMessageW(hwnd, BM_SETCHECK, BST_CHECKED, 0);
        }
        break;
    case ControlKind::Picture: {
        const std::wstring resource(row.Caption);
        UniqueBitmap bitmap = LoadPicture(resource.c_str());
        if (bitmap) {
            SendMessageW(hwnd, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap.get()));
            bitmaps_.push_back(std::move(bitmap));
        }
        // SS_BITMAP resizes the control to the picture; the table's rectangle wins, and the
        // picture is drawn to fill it. The call cannot fail for a window of this thread.
        SetWindowPos(hwnd, nullptr, px.Left, px.Top, px.Width, px.Height,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        static_cast<void>(SetWindowSubclass(hwnd, &PictureProc, 1, 0));
        break;
    }
    default:
        break;
    }
    return hwnd;
}

HWND ControlSet::Get(int id) const noexcept {
    for (const auto& [controlId, hwnd] : windows_) {
        if (controlId == id) {
            return hwnd;
        }
    }
    return nullptr;
}

void ControlSet::Relayout(int dpi) noexcept {
    UniqueFont font = CreateDialogFont(dpi);
    if (!font) {
        return; // keep the old font and layout rather than draw with none
    }
    dpi_ = dpi;
    for (const ControlSpec& row : table_) {
        HWND hwnd = Get(row.Id);
        if (hwnd == nullptr) {
            continue;
        }
        const PixelRect px = ToPixels(row.Rect, dpi);
        SetWindowPos(hwnd, nullptr, px.Left, px.Top, px.Width, px.Height,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), TRUE);
    }
    font_ = std::move(font); // the old font is freed only once no control uses it
}

} // namespace zelvaran::ui
