#include "ui/window.h"

#include <cwchar>
#include <utility>

#include "ui/platform.h"

namespace zelvaran::ui {
namespace {

BOOL CALLBACK ForwardColourChange(HWND child, LPARAM) noexcept {
    SendMessageW(child, WM_SYSCOLORCHANGE, 0, 0);
    return TRUE;
}

} // namespace

Form::~Form() {
    DestroyDetached();
}

void Form::DestroyDetached() noexcept {
    if (hwnd_ == nullptr) {
        return;
    }
    HWND hwnd = std::exchange(hwnd_, nullptr);
    // No handler may run for an object that is being destroyed.
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    DestroyWindow(hwnd);
    controls_ = ControlSet{};
    focus_.Remember(nullptr);
}

bool Form::PreTranslateMessage(MSG& msg) noexcept {
    return HandleNavigationKey(msg, hwnd_, controls_, shape_.DefaultButton);
}

LRESULT CALLBACK Form::WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept {
    Form* self = nullptr;
    if (msg == WM_NCCREATE) {
        const auto* cs = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        self = static_cast<Form*>(cs->lpCreateParams);
        if (self != nullptr) {
            self->hwnd_ = hwnd;
            SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        }
    } else {
        self = reinterpret_cast<Form*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    }
    if (self == nullptr) {
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    }
    LRESULT result = 0;
    try {
        result = self->Dispatch(msg, wParam, lParam);
    } catch (...) {
        // Handlers report their own failures; anything left (out of memory) must not unwind
        // through the system's frames, so the message gets the default treatment instead.
        result = DefWindowProcW(hwnd, msg, wParam, lParam);
    }
    if (msg == WM_NCDESTROY) {
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        self->OnNcDestroy();
    }
    return result;
}

LRESULT Form::Dispatch(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_CREATE:
        return OnCreate() ? 0 : -1;
    case WM_COMMAND:
        OnCommand(LOWORD(wParam), HIWORD(wParam));
        return 0;
    case WM_GETDPISCALEDSIZE:
        *reinterpret_cast<SIZE*>(lParam) = ScaledSize(static_cast<int>(wParam));
        return TRUE;
    case WM_DPICHANGED:
        OnDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
        return 0;
    case WM_ACTIVATE:
        OnActivate(LOWORD(wParam) != WA_INACTIVE);
        return 0;
    case WM_CLOSE:
        OnClose();
        return 0;
    case WM_DESTROY:
        OnDestroy();
        return 0;
    case WM_SIZE:
        OnSize(static_cast<UINT>(wParam));
        return 0;
    case WM_CTLCOLORSTATIC:
        return OnCtlColorStatic(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_SETTINGCHANGE:
        if (wParam == SPI_SETHIGHCONTRAST) {
            OnSystemColours();
        }
        return HandleMessage(msg, wParam, lParam);
    case WM_SYSCOLORCHANGE:
        // Only top-level windows hear of it; the common controls are told by their window. The
        // result only says whether there were children to tell.
        static_cast<void>(EnumChildWindows(hwnd_, &ForwardColourChange, 0));
        OnSystemColours();
        return HandleMessage(msg, wParam, lParam);
    default:
        return HandleMessage(msg, wParam, lParam);
    }
}

void Form::OnDpiChanged(int dpi, const RECT& suggested) noexcept {
    controls_.Relayout(dpi);
    OnRelayout(dpi);
    // The suggested rectangle has the size WM_GETDPISCALEDSIZE gave, placed where the system
    // keeps the window on the new monitor; a menu bar that wraps differently is corrected after.
    SetWindowPos(hwnd_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    SetClientSize(hwnd_, ClientPixels(dpi));
}

SIZE Form::ScaledSize(int dpi) const noexcept {
    // From the twips, never from the present size: scaling the present size would round a little
    // differently each way, and a window on the border of two monitors could flip between them.
    RECT frame{0, 0, 0, 0};
    AdjustWindowRectExForDpi(&frame, shape_.Style, GetMenu(hwnd_) != nullptr ? TRUE : FALSE,
                             shape_.ExStyle, static_cast<UINT>(dpi));
    const PixelSize size = WindowSizeAt(shape_.ClientWidthTwips, shape_.ClientHeightTwips, dpi,
                                        {frame.right - frame.left, frame.bottom - frame.top});
    return {size.Width, size.Height};
}

void Form::CentreOnAnchorMonitor() noexcept {
    RECT outer{};
    if (!GetWindowRect(hwnd_, &outer)) {
        return;
    }
    POINT at = CentredOnScreen({outer.right - outer.left, outer.bottom - outer.top});
    SetWindowPos(hwnd_, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    // Moved to a monitor of another DPI, the window was scaled on the way: measure again.
    SetClientSize(hwnd_, ClientPixels(WindowDpi(hwnd_)));
    if (GetWindowRect(hwnd_, &outer)) {
        at = CentredOnScreen({outer.right - outer.left, outer.bottom - outer.top});
        SetWindowPos(hwnd_, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void Form::OnActivate(bool active) noexcept {
    focus_.OnActivate(hwnd_, controls_, active);
}

void Form::OnSystemColours() noexcept {
    // High contrast switches while the program runs; every control repaints in the new colours.
    highContrast_ = CurrentPlatform().HighContrast();
    RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

void Form::OnNcDestroy() noexcept {
    // The controls are gone; a form loaded again builds everything afresh.
    hwnd_ = nullptr;
    controls_ = ControlSet{};
    focus_.Remember(nullptr);
}

bool Form::RegisterFormClass(HICON icon, HICON smallIcon, HBRUSH background) noexcept {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    if (GetClassInfoExW(GetModuleHandleW(nullptr), shape_.ClassName, &wc)) {
        return true;
    }
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = &Form::WindowProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hIcon = icon;
    wc.hIconSm = smallIcon;
    wc.hbrBackground = background;
    wc.lpszClassName = shape_.ClassName;
    return RegisterClassExW(&wc) != 0;
}

bool Form::RegisterFormClass(int iconId) noexcept {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    const auto icon = [instance, iconId](int width, int height) {
        return static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(iconId), IMAGE_ICON,
                                             GetSystemMetrics(width), GetSystemMetrics(height),
                                             LR_SHARED));
    };
    return RegisterFormClass(icon(SM_CXICON, SM_CYICON), icon(SM_CXSMICON, SM_CYSMICON),
                             reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
}

SIZE Form::ClientPixels(int dpi) const noexcept {
    return {TwipsToPixels(shape_.ClientWidthTwips, dpi),
            TwipsToPixels(shape_.ClientHeightTwips, dpi)};
}

bool Form::CreateCentred(HWND owner, HMENU menu) noexcept {
    // A first estimate at the system's DPI places the window on the main window's monitor.
    const int systemDpi = static_cast<int>(GetDpiForSystem());
    const SIZE estimate = WindowSizeForClient(ClientPixels(systemDpi), shape_.Style, shape_.ExStyle,
                                              menu != nullptr, systemDpi);
    const POINT at = CentredOnScreen(estimate);
    highContrast_ = CurrentPlatform().HighContrast(); // the controls' first paint needs it
    if (CreateWindowExW(shape_.ExStyle, shape_.ClassName, shape_.Caption, shape_.Style, at.x, at.y,
                        estimate.cx, estimate.cy, owner, menu, GetModuleHandleW(nullptr),
                        this) == nullptr) {
        return false;
    }
    // That monitor may have another DPI than the system's, and the real frame (a wrapping menu
    // bar) can differ from the estimate: measure, correct and centre again.
    SetClientSize(hwnd_, ClientPixels(WindowDpi(hwnd_)));
    CentreOnAnchorMonitor();
    return true;
}

bool Form::CreateControls() noexcept {
    return controls_.Create(hwnd_, shape_.Controls, WindowDpi(hwnd_));
}

void Form::ShowAndRaise() noexcept {
    // A window loaded earlier and kept hidden opens where the main window is now.
    if (!IsWindowVisible(hwnd_)) {
        CentreOnAnchorMonitor();
    }
    ShowWindow(hwnd_, SW_SHOWNORMAL);
    BringWindowToTop(hwnd_);
    static_cast<void>(SetForegroundWindow(hwnd_));
}

bool IsFormWindow(HWND hwnd) noexcept {
    wchar_t name[64] = {};
    return hwnd != nullptr && GetClassNameW(hwnd, name, 64) != 0 &&
           std::wcsncmp(name, Form::kClassPrefix, std::wcslen(Form::kClassPrefix)) == 0;
}

bool PreTranslateForForms(MSG& msg) noexcept {
    if (msg.hwnd == nullptr) {
        return false;
    }
    HWND root = GetAncestor(msg.hwnd, GA_ROOT);
    if (!IsFormWindow(root)) {
        return false;
    }
    auto* form = reinterpret_cast<Form*>(GetWindowLongPtrW(root, GWLP_USERDATA));
    return form != nullptr && form->PreTranslateMessage(msg);
}

int RunMessageLoop() noexcept {
    MSG msg{};
    for (;;) {
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0 || got == -1) {
            break;
        }
        if (!PreTranslateForForms(msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    return static_cast<int>(msg.wParam);
}

} // namespace zelvaran::ui
