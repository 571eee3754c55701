// The few platform effects a test must observe without blocking: message boxes, opening a
// document or address through the shell, running a step elevated, and ending the process; the
// one setting a test cannot switch for real, high contrast; the names given to screen readers by
// Dynamic Annotation, which Wine does not implement; and the notification area, whose refusals a
// test cannot cause. Tests install their own.
#pragma once

#include <windows.h>

#include <shellapi.h>

#include <string_view>

namespace zelvaran::ui {

class Platform {
public:
    virtual ~Platform() = default;
    // Not named MessageBox: <windows.h> would rename it MessageBoxW, and a call of the system's
    // function inside an override would then call the override itself.
    virtual int ShowMessage(HWND owner, const wchar_t* text, const wchar_t* title, UINT type) = 0;
    // Returns the shell's result code (greater than 32 on success).
    virtual INT_PTR ShellOpen(HWND owner, const wchar_t* verb, const wchar_t* file,
                              const wchar_t* parameters, const wchar_t* directory,
                              int showCommand) = 0;
    // Starts `file` with `parameters` through the shell's "runas" verb (the system's consent
    // prompt, owned by `owner`) and waits for it to end while this thread's windows keep handling
    // their messages. Gives ERROR_SUCCESS and the process's exit code, or the reason it did not
    // run: ERROR_CANCELLED when the user declined.
    [[nodiscard]] virtual DWORD RunElevated(HWND owner, const wchar_t* file,
                                            const wchar_t* parameters, DWORD& exitCode) = 0;
    // Ends the process at once. A test's replacement returns, so callers must leave things
    // sound when it does.
    virtual void EndProcess(UINT exitCode) = 0;
    // Whether the user has high contrast on (SPI_GETHIGHCONTRAST); the windows then draw in the
    // system's colours alone.
    [[nodiscard]] virtual bool HighContrast();
    // Gives the control's own object the accessible name `name` through Dynamic Annotation
    // (IAccPropServices::SetHwndPropStr with PROPID_ACC_NAME), the way Microsoft documents for
    // standard controls: a screen reader in any process then reads it. The annotation's result:
    // Wine answers E_NOTIMPL.
    [[nodiscard]] virtual HRESULT AnnotateName(HWND control, const wchar_t* name);
    // Takes the annotation off again (ClearHwndProps), as the control is destroyed.
    virtual void ClearAnnotatedName(HWND control);
    // Shell_NotifyIconW. The notification area refuses or times out while Explorer is not ready
    // (a program started at log-on), which a test must be able to make happen.
    [[nodiscard]] virtual bool NotifyIcon(DWORD message, NOTIFYICONDATAW& data);
};

[[nodiscard]] Platform& CurrentPlatform() noexcept;

// Every message box of the program goes through here. A box disables only its owner, yet the
// user must not work with any window of the program while it is up, so the program's other
// windows are disabled for its life and each is enabled again afterwards, if it was then.
[[nodiscard]] int ShowProgramMessage(HWND owner, const wchar_t* text, const wchar_t* title,
                                     UINT type);
// Installs a replacement (tests); nullptr restores the real one.
void SetPlatform(Platform* platform) noexcept;

} // namespace zelvaran::ui
