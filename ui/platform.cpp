#include "ui/platform.h"

#include <shellapi.h>

namespace zelvaran::ui {
namespace {

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
    void EndProcess(UINT exitCode) override { ::ExitProcess(exitCode); }
};

SystemPlatform g_system;
Platform* g_current = &g_system;

} // namespace

Platform& CurrentPlatform() noexcept {
    return *g_current;
}

void SetPlatform(Platform* platform) noexcept {
    g_current = platform != nullptr ? platform : &g_system;
}

} // namespace zelvaran::ui
