// The skeleton every form shares: `this` comes from the creation data and lives in
// GWLP_USERDATA; nothing thrown inside a handler crosses into the system. The form is created
// centred at its client size in twips, at the DPI of the monitor it opens on, and keeps that
// size in twips when it moves to a monitor with another DPI.
#pragma once

#include <windows.h>

#include <cstddef>
#include <span>

#include "ui/controls.h"
#include "ui/layout.h"
#include "ui/navigation.h"

namespace zelvaran::ui {

// What a form is, as data: its class, caption, styles, client size and controls.
struct FormShape {
    const wchar_t* ClassName; // starts with "Zelvaran." so the message loop finds the form
    const wchar_t* Caption;
    DWORD Style;
    DWORD ExStyle;
    int ClientWidthTwips;
    int ClientHeightTwips;
    std::span<const ControlSpec> Controls;
    int DefaultButton; // the control Enter clicks when no push button has the focus; 0: none
};

// Every top-level window of the program. The message loop asks the form that owns a message
// whether it is keyboard navigation (Tab order, Enter) before dispatching it.
class Form {
public:
    explicit Form(const FormShape& shape) noexcept : shape_(shape) {}
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;
    // Destroys a window still open without running its handlers: the derived part is gone.
    virtual ~Form();

    [[nodiscard]] HWND Handle() const noexcept { return hwnd_; }
    [[nodiscard]] bool IsLoaded() const noexcept { return hwnd_ != nullptr; }
    [[nodiscard]] HWND Control(int id) const noexcept { return controls_.Get(id); }
    [[nodiscard]] const ControlSet& Controls() const noexcept { return controls_; }
    [[nodiscard]] virtual bool PreTranslateMessage(MSG& msg) noexcept;

protected:
    // The messages the skeleton does not unpack itself (below); by default the system's answer.
    virtual LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
        return Default(msg, wParam, lParam);
    }
    // WM_CREATE: builds the controls; false fails the creation.
    [[nodiscard]] virtual bool OnCreate() noexcept { return CreateControls(); }
    // WM_COMMAND from a control (code: its notification) or the menu (code 0).
    virtual void OnCommand(int /*id*/, int /*code*/) noexcept {}
    // WM_CLOSE (the close box, Alt+F4, the window menu): by default the window goes, as the
    // system would do it.
    virtual void OnClose() noexcept { static_cast<void>(Default(WM_CLOSE, 0, 0)); }
    // WM_DESTROY, while the controls still exist.
    virtual void OnDestroy() noexcept {}
    // WM_SIZE; `type` is SIZE_MINIMIZED, SIZE_RESTORED, SIZE_MAXIMIZED and so on.
    virtual void OnSize(UINT /*type*/) noexcept {}
    // WM_CTLCOLORSTATIC: the brush a static (or read-only) control is painted with.
    virtual LRESULT OnCtlColorStatic(HDC dc, HWND control) noexcept {
        return Default(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                       reinterpret_cast<LPARAM>(control));
    }
    LRESULT Default(UINT msg, WPARAM wParam, LPARAM lParam) noexcept {
        return DefWindowProcW(hwnd_, msg, wParam, lParam);
    }
    // After the controls were laid out again for a new DPI, before the window takes its new size.
    virtual void OnRelayout(int /*dpi*/) noexcept {}
    // Whether high contrast is on: read when the window is created and again whenever the
    // system's colours change. With it on, the form draws in the system's colours alone.
    [[nodiscard]] bool HighContrast() const noexcept { return highContrast_; }

    // Registers the form's window class; safe to call more than once.
    [[nodiscard]] bool RegisterFormClass(HICON icon, HICON smallIcon, HBRUSH background) noexcept;
    // The same with the exe's icon resource `iconId` at the system's large and small icon sizes,
    // shared (the system frees them with the module), on the dialog face colour.
    [[nodiscard]] bool RegisterFormClass(int iconId) noexcept;
    // Creates the window hidden, its client area at the shape's size at the DPI of the monitor it
    // opens on, centred on the work area of the main window's monitor.
    [[nodiscard]] bool CreateCentred(HWND owner, HMENU menu) noexcept;
    // Builds the shape's controls at the window's DPI: the form calls it from WM_CREATE.
    [[nodiscard]] bool CreateControls() noexcept;
    // Shows the window and brings it forward. The system may refuse the foreground to a program
    // the user is not using; the window is then shown behind, as any window would be.
    void ShowAndRaise() noexcept;
    [[nodiscard]] SIZE ClientPixels(int dpi) const noexcept;
    [[nodiscard]] const FormShape& Shape() const noexcept { return shape_; }
    // Destroys the window without running its handlers (user data cleared first), for
    // destructors that must be rid of the window before their own members go.
    void DestroyDetached() noexcept;

    HWND hwnd_ = nullptr;
    ControlSet controls_;
    FocusKeeper focus_;

private:
    friend bool PreTranslateForForms(MSG& msg) noexcept;
    friend bool IsFormWindow(HWND hwnd) noexcept;
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept;
    LRESULT Dispatch(UINT msg, WPARAM wParam, LPARAM lParam);
    void OnDpiChanged(int dpi, const RECT& suggested) noexcept;
    // The outer size at `dpi`, from the client area's twips: WM_GETDPISCALEDSIZE's answer.
    [[nodiscard]] SIZE ScaledSize(int dpi) const noexcept;
    void CentreOnAnchorMonitor() noexcept;
    void OnActivate(bool active) noexcept;
    void OnSystemColours() noexcept;
    void OnNcDestroy() noexcept;

    static constexpr wchar_t kClassPrefix[] = L"Zelvaran.";
    FormShape shape_;
    bool highContrast_ = false;
};

// One row of a form's command table: a control or menu id and the handler it runs.
template <class Owner> struct Command {
    int Id;
    void (Owner::*Run)() noexcept;
};

// Runs the handler `table` gives for `id`; returns whether it had one.
template <class Owner, std::size_t N>
bool RunCommand(Owner& owner, const Command<Owner> (&table)[N], int id) noexcept {
    for (const Command<Owner>& command : table) {
        if (command.Id == id) {
            (owner.*command.Run)();
            return true;
        }
    }
    return false;
}

// Runs the handler `table` gives for a click (BN_CLICKED) on control `id`, only while the control
// is enabled: Enter's default button and a message sent from outside reach a disabled one too.
template <class Owner, std::size_t N>
bool RunClick(Owner& owner, const Command<Owner> (&table)[N], int id, int code) noexcept {
    HWND control = owner.Control(id);
    return code == BN_CLICKED && control != nullptr && IsWindowEnabled(control) &&
           RunCommand(owner, table, id);
}

// Whether a top-level window is one of the program's forms.
[[nodiscard]] bool IsFormWindow(HWND hwnd) noexcept;

// Finds the program's form that owns msg.hwnd and lets it handle navigation keys.
[[nodiscard]] bool PreTranslateForForms(MSG& msg) noexcept;

// Runs the message loop until WM_QUIT; returns its exit code.
int RunMessageLoop() noexcept;

} // namespace zelvaran::ui
