// Stands in for message boxes, the shell, elevated steps, the end of the process and the names
// annotated for screen readers, recording each call, and says whether high contrast is on.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "ui/platform.h"

namespace zelvaran::testing {

struct MessageBoxCall {
    HWND Owner;
    std::wstring Text;
    std::wstring Title;
    UINT Type;
};

struct ShellCall {
    HWND Owner;
    std::wstring Verb;
    std::wstring File;
    std::wstring Parameters;
    std::wstring Directory;
    int Show;
};

// One call on the notification area, with what a test looks at.
struct NotifyIconCall {
    DWORD Message;
    UINT Flags;
    UINT Version;
    std::wstring InfoTitle;
    std::wstring Info;
    DWORD InfoFlags;
    HICON BalloonIcon;
    bool Took;
};

struct ElevationCall {
    HWND Owner;
    std::wstring File;
    std::wstring Parameters;
    bool OwnerEnabled; // whether the owner took input while the step ran
};

class RecordingPlatform final : public ui::Platform {
public:
    RecordingPlatform() { ui::SetPlatform(this); }
    ~RecordingPlatform() override { ui::SetPlatform(nullptr); }
    RecordingPlatform(const RecordingPlatform&) = delete;
    RecordingPlatform& operator=(const RecordingPlatform&) = delete;

    int ShowMessage(HWND owner, const wchar_t* text, const wchar_t* title, UINT type) override {
        Boxes.push_back({owner, text, title, type});
        Log.push_back(std::wstring(L"box:") + text);
        if (DuringBox) {
            DuringBox();
        }
        return IDOK;
    }
    INT_PTR ShellOpen(HWND owner, const wchar_t* verb, const wchar_t* file,
                      const wchar_t* parameters, const wchar_t* directory,
                      int showCommand) override {
        Shell.push_back({owner, verb != nullptr ? verb : L"", file != nullptr ? file : L"",
                         parameters != nullptr ? parameters : L"",
                         directory != nullptr ? directory : L"", showCommand});
        return ShellResult;
    }
    // Answers as set below: the consent prompt declined unless a test says otherwise.
    DWORD RunElevated(HWND owner, const wchar_t* file, const wchar_t* parameters,
                      DWORD& exitCode) override {
        Elevations.push_back({owner, file, parameters, IsWindowEnabled(owner) != FALSE});
        Log.push_back(std::wstring(L"runas:") + parameters);
        exitCode = ElevatedExitCode;
        return ElevationError;
    }
    bool HighContrast() override { return HighContrastOn; }
    // Refused as Wine refuses it unless a test says otherwise, so the fallback is what runs.
    HRESULT AnnotateName(HWND control, const wchar_t* name) override {
        Annotations.emplace_back(control, name);
        return AnnotationResult;
    }
    void ClearAnnotatedName(HWND control) override { ClearedAnnotations.push_back(control); }
    // The real notification area, but the first FailIconAdds adds refused as at log-on, and
    // balloons only recorded: Wine's would linger over the next tests and take the foreground.
    bool NotifyIcon(DWORD message, NOTIFYICONDATAW& data) override {
        bool took = true;
        if (message == NIM_ADD && FailIconAdds > 0) {
            --FailIconAdds;
            took = false;
        } else if ((data.uFlags & NIF_INFO) == 0) {
            took = Platform::NotifyIcon(message, data);
        }
        Icons.push_back({message, data.uFlags, data.uVersion, data.szInfoTitle, data.szInfo,
                         data.dwInfoFlags, data.hBalloonIcon, took});
        return took;
    }
    void EndProcess(UINT exitCode) override {
        EndCodes.push_back(exitCode);
        Log.push_back(L"end:" + std::to_wstring(exitCode));
    }

    std::vector<MessageBoxCall> Boxes;
    std::vector<ShellCall> Shell;
    INT_PTR ShellResult = 42; // above 32: opened
    std::vector<ElevationCall> Elevations;
    DWORD ElevationError = ERROR_CANCELLED;
    DWORD ElevatedExitCode = ERROR_SUCCESS;
    std::vector<UINT> EndCodes;
    bool HighContrastOn = false;
    std::vector<std::pair<HWND, std::wstring>> Annotations;
    std::vector<HWND> ClearedAnnotations;
    HRESULT AnnotationResult = E_NOTIMPL;
    std::vector<NotifyIconCall> Icons;
    int FailIconAdds = 0;
    std::vector<std::wstring> Log;   // boxes, elevated steps and ends, in the order they happened
    std::function<void()> DuringBox; // runs while a box would be up
};

} // namespace zelvaran::testing
