#include "ui/platform.h"

#include <oleacc.h>
#include <shellapi.h>

#include <array>
#include <cstddef>

#include "ui/handles.h"
#include "ui/window.h"

namespace zelvaran::ui {
namespace {

// Waits for `process` to end, handing this thread's messages to their windows meanwhile, so the
// windows repaint and the main window stays usable. A WM_QUIT is put back for the main loop.
[[nodiscard]] DWORD WaitPumping(HANDLE process) noexcept {
    bool quit = false;
    int quitCode = 0;
    for (;;) {
        const DWORD woke =
            MsgWaitForMultipleObjectsEx(1, &process, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        if (woke == WAIT_OBJECT_0) {
            break;
        }
        if (woke != WAIT_OBJECT_0 + 1) {
            return GetLastError();
        }
        MSG msg{};
        while (!quit && PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                quit = true;
                quitCode = static_cast<int>(msg.wParam);
            } else if (!PreTranslateForForms(msg)) {
                TranslateMessage(&msg);
                DispatchMessageW(&msg);
            }
        }
        if (quit) {
            // Nothing more is dispatched once the program is asked to end; the step still ends.
            static_cast<void>(WaitForSingleObject(process, INFINITE));
            break;
        }
    }
    if (quit) {
        PostQuitMessage(quitCode);
    }
    return ERROR_SUCCESS;
}

class SystemPlatform final : public Platform {
public:
    int ShowMessage(HWND owner, const wchar_t* text, const wchar_t* title, UINT type) override {
        return ::MessageBoxW(owner, text, title, type);
    }
    INT_PTR ShellOpen(HWND owner, const wchar_t* verb, const wchar_t* file,
                      const wchar_t* parameters, const wchar_t* directory,
                      int showCommand) override {
        return reinterpret_cast<INT_PTR>(
            ::ShellExecuteW(owner, verb, file, parameters, directory, showCommand));
    }
    DWORD RunElevated(HWND owner, const wchar_t* file, const wchar_t* parameters,
                      DWORD& exitCode) override {
        SHELLEXECUTEINFOW info{};
        info.cbSize = sizeof(info);
        // No error boxes from the shell: the caller reports in the program's own words.
        info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI | SEE_MASK_NOASYNC;
        info.hwnd = owner;
        info.lpVerb = L"runas";
        info.lpFile = file;
        info.lpParameters = parameters;
        info.nShow = SW_HIDE;
        if (!::ShellExecuteExW(&info)) {
            const DWORD error = GetLastError();
            return error != ERROR_SUCCESS ? error : static_cast<DWORD>(ERROR_CANCELLED);
        }
        const UniqueKernelHandle process(info.hProcess);
        if (!process) {
            return ERROR_INVALID_HANDLE; // started, but the shell kept no handle to wait on
        }
        if (const DWORD error = WaitPumping(process.get()); error != ERROR_SUCCESS) {
            return error;
        }
        return ::GetExitCodeProcess(process.get(), &exitCode) ? ERROR_SUCCESS : GetLastError();
    }
    void EndProcess(UINT exitCode) override { ::ExitProcess(exitCode); }
};

SystemPlatform g_system;
Platform* g_current = &g_system;

// The program's windows that a box disabled, to be enabled again when it goes.
struct BlockedWindows {
    HWND Owner = nullptr;
    std::array<HWND, 8> Windows{}; // three forms; room to spare
    std::size_t Count = 0;
};

BOOL CALLBACK BlockOne(HWND hwnd, LPARAM data) noexcept {
    auto& blocked = *reinterpret_cast<BlockedWindows*>(data);
    // The box itself disables and enables its owner; a window already disabled stays as it is.
    if (hwnd != blocked.Owner && blocked.Count < blocked.Windows.size() && IsFormWindow(hwnd) &&
        IsWindowEnabled(hwnd)) {
        EnableWindow(hwnd, FALSE);
        blocked.Windows[blocked.Count++] = hwnd;
    }
    return TRUE;
}

// Written out: MinGW's oleacc import library brings these names in as import thunks, not GUIDs.
constexpr CLSID kAccPropServices = {
    0xb5f8350b, 0x0548, 0x48b1, {0xa6, 0xee, 0x88, 0xbd, 0x00, 0xb4, 0xa5, 0xe7}};
constexpr IID kIAccPropServices = {
    0x6e26e776, 0x04f0, 0x495d, {0x80, 0xe4, 0x33, 0x30, 0x35, 0x2e, 0x31, 0x69}};
constexpr MSAAPROPID kPropIdAccName = {
    0x608d3df8, 0x8128, 0x4aa7, {0xa4, 0x28, 0xf5, 0x5e, 0x49, 0x26, 0x72, 0x91}};

// The annotation service, for one call: annotations live in the window, not in the service.
class AccPropServices {
public:
    AccPropServices() noexcept
        : created_(CoCreateInstance(kAccPropServices, nullptr, CLSCTX_INPROC_SERVER,
                                    kIAccPropServices, reinterpret_cast<void**>(&services_))) {}
    ~AccPropServices() {
        if (services_ != nullptr) {
            services_->Release();
        }
    }
    AccPropServices(const AccPropServices&) = delete;
    AccPropServices& operator=(const AccPropServices&) = delete;
    [[nodiscard]] HRESULT Created() const noexcept {
        return FAILED(created_) || services_ != nullptr ? created_ : E_NOINTERFACE;
    }
    [[nodiscard]] IAccPropServices* operator->() const noexcept { return services_; }

private:
    IAccPropServices* services_ = nullptr;
    HRESULT created_;
};

} // namespace

HRESULT Platform::AnnotateName(HWND control, const wchar_t* name) {
    const AccPropServices services;
    if (const HRESULT created = services.Created(); FAILED(created)) {
        return created;
    }
    return services->SetHwndPropStr(control, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF,
                                    kPropIdAccName, name);
}

void Platform::ClearAnnotatedName(HWND control) {
    const AccPropServices services;
    if (SUCCEEDED(services.Created())) {
        // Nothing to do about a failure: the annotation goes with the window's properties.
        static_cast<void>(services->ClearHwndProps(control, static_cast<DWORD>(OBJID_CLIENT),
                                                   CHILDID_SELF, &kPropIdAccName, 1));
    }
}

bool Platform::HighContrast() {
    HIGHCONTRASTW state{};
    state.cbSize = sizeof(state);
    // A system that cannot tell has it off, as far as the program can know.
    return SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof(state), &state, 0) != FALSE &&
           (state.dwFlags & HCF_HIGHCONTRASTON) != 0;
}

bool Platform::NotifyIcon(DWORD message, NOTIFYICONDATAW& data) {
    return Shell_NotifyIconW(message, &data) != FALSE;
}

int ShowProgramMessage(HWND owner, const wchar_t* text, const wchar_t* title, UINT type) {
    BlockedWindows blocked;
    blocked.Owner = owner != nullptr ? GetAncestor(owner, GA_ROOT) : nullptr;
    // All of the program's windows belong to this one thread.
    static_cast<void>(
        EnumThreadWindows(GetCurrentThreadId(), &BlockOne, reinterpret_cast<LPARAM>(&blocked)));
    const int answer = CurrentPlatform().ShowMessage(owner, text, title, type);
    for (std::size_t i = 0; i < blocked.Count; ++i) {
        if (IsWindow(blocked.Windows[i])) { // a window may have gone meanwhile
            EnableWindow(blocked.Windows[i], TRUE);
        }
    }
    return answer;
}

Platform& CurrentPlatform() noexcept {
    return *g_current;
}

void SetPlatform(Platform* platform) noexcept {
    g_current = platform != nullptr ? platform : &g_system;
}

} // namespace zelvaran::ui
