// The window procedure shared by every form: `this` comes from the creation data and lives in
// GWLP_USERDATA; nothing thrown inside a handler crosses into the system.
#pragma once

#include <windows.h>

namespace zelvaran::ui {

// Every top-level window of the program. The message loop asks the form that owns a message
// whether it is keyboard navigation (Tab order, Enter) before dispatching it.
class Form {
public:
    Form() = default;
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;
    virtual ~Form() = default;

    [[nodiscard]] HWND Handle() const noexcept { return hwnd_; }
    [[nodiscard]] virtual bool PreTranslateMessage(MSG& msg) noexcept;

protected:
    virtual LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) = 0;
    LRESULT Default(UINT msg, WPARAM wParam, LPARAM lParam) noexcept {
        return DefWindowProcW(hwnd_, msg, wParam, lParam);
    }

    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept;
    // Registers a window class whose procedure is WindowProc; safe to call more than once.
    [[nodiscard]] static bool RegisterFormClass(const wchar_t* className, HICON icon,
                                                HICON smallIcon, HBRUSH background) noexcept;

    HWND hwnd_ = nullptr;

private:
    friend bool PreTranslateForForms(MSG& msg) noexcept;
    static constexpr wchar_t kClassPrefix[] = L"Zelvaran.";
};

// Finds the program's form that owns msg.hwnd and lets it handle navigation keys.
[[nodiscard]] bool PreTranslateForForms(MSG& msg) noexcept;

// Runs the message loop until WM_QUIT; returns its exit code.
int RunMessageLoop() noexcept;

} // namespace zelvaran::ui
