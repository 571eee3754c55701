// Drives the built zelvaran.exe from outside, as a user would: a separate process, its real
// windows and message boxes, and the clipboard read from here.
#pragma once

#include <windows.h>

#include <string>

#include "ui/handles.h"

namespace zelvaran::testing {

// The zelvaran.exe beside this build's tests.
[[nodiscard]] std::wstring ProgramPath();

class RunningProgram {
public:
    // Whether the start waits until the program waits for input, as a test wants before it looks
    // at the windows; a timing of the start itself must not.
    enum class Wait { UntilIdle, No };
    // Starts the program (or the exe at `program`) with `arguments` after its quoted path and
    // `directory` as its current directory (empty: the temp folder).
    explicit RunningProgram(const std::wstring& directory = L"", const std::wstring& program = L"",
                            const std::wstring& arguments = L"", Wait wait = Wait::UntilIdle);
    RunningProgram(const RunningProgram&) = delete;
    RunningProgram& operator=(const RunningProgram&) = delete;
    ~RunningProgram(); // ends the process if a test left it running

    [[nodiscard]] bool Started() const noexcept { return static_cast<bool>(process_); }
    [[nodiscard]] DWORD Id() const noexcept { return id_; }
    // The program's visible top-level window of `className`, waited for up to `ms`.
    [[nodiscard]] HWND WaitForWindow(const wchar_t* className, DWORD ms = 15000) const;
    // A message box (class #32770) of the program with this title, waited for up to `ms`.
    [[nodiscard]] HWND WaitForMessageBox(const wchar_t* title, DWORD ms = 10000) const;
    // Whether the process ended within `ms`, and its exit code.
    [[nodiscard]] bool WaitForExit(DWORD ms, DWORD* exitCode = nullptr) const;
    void Kill() noexcept;

private:
    ui::UniqueKernelHandle process_;
    DWORD id_ = 0;
};

// A visible top-level window of `className` (and `title`, unless null) that `process` owns, or
// null: one look, for callers that wait in their own way.
[[nodiscard]] HWND FindVisibleWindow(DWORD process, const wchar_t* className,
                                     const wchar_t* title = nullptr);
// Whether `process` ended within `ms`, and its exit code.
[[nodiscard]] bool WaitForProcessExit(HANDLE process, DWORD ms, DWORD* exitCode = nullptr);

[[nodiscard]] HWND FindControlById(HWND top, int id);
// Window text read across processes (WM_GETTEXT, which GetWindowText does not send there).
[[nodiscard]] std::wstring RemoteText(HWND hwnd);
// Clicks a button of another process without waiting for what the click opens.
void PostClick(HWND button);
// The text of a message box; a click on its OK button, returning once the box has gone.
[[nodiscard]] std::wstring MessageBoxText(HWND box);
void DismissMessageBox(HWND box);

} // namespace zelvaran::testing
