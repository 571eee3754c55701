// Form5: the borderless About dialog. It shows the program's name and version over a fixed
// picture, opens two web pages, and owns the small icon that the notification area shows, which
// is why the main window loads it (hidden) at start.
#pragma once

#include <windows.h>

#include "about/backdrop.h"
#include "ui/controls.h"
#include "ui/navigation.h"
#include "ui/handles.h"
#include "ui/window.h"
#include "ui/window_icons.h"

namespace zelvaran::about {

class Form5 final : public ui::Form {
public:
    static constexpr const wchar_t* kClassName = L"Zelvaran.Form5";

    Form5();

    // Creates the window hidden and runs its load step; does nothing when already loaded.
    [[nodiscard]] bool Load() noexcept;
    // "Acerca": loads the dialog if it is not loaded (its load step runs then), then shows it
    // modeless, without an owner, and brings it forward. A loaded dialog, hidden or visible, is
    // only shown.
    void Show() noexcept;
    // The window's small icon: the tray image at the dialog's DPI, the same handle across unloads
    // at one DPI.
    [[nodiscard]] HICON Icon() const noexcept { return icons_.Small(); }
    // The image the notification area shows, made for a window at `dpi` (its small-icon size),
    // for the caller to keep while the icon shows it.
    [[nodiscard]] static ui::UniqueIcon TrayImage(int dpi) noexcept;
    // How many times the load step has run.
    [[nodiscard]] int LoadCount() const noexcept { return loadCount_; }

    // No frame and no title bar, so no close, minimise or maximise box; kept off the taskbar.
    static constexpr DWORD kStyle = WS_POPUP | WS_CLIPCHILDREN;
    static constexpr DWORD kExStyle = WS_EX_TOOLWINDOW | WS_EX_CONTROLPARENT;

private:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

    void cerrar_Click() noexcept;
    void CommandWeb_Click() noexcept;
    void webcp_Click() noexcept;

    [[nodiscard]] bool OnCreate() noexcept override;
    void OnLoad() noexcept;
    void OnRelayout(int dpi) noexcept override;
    void OnCommand(int id, int code) noexcept override;
    [[nodiscard]] bool OnEraseBackground(HDC dc) noexcept;
    [[nodiscard]] LRESULT OnCtlColorStatic(HDC dc, HWND control) noexcept override;
    void OnSize(UINT type) noexcept override;
    void OnDestroy() noexcept override;

    void AddToolTips() noexcept;
    void BuildBackdrop() noexcept;
    void OpenPage(const wchar_t* address) noexcept;

    ui::WindowIcons icons_;
    ui::UniqueWindow toolTip_;
    ui::UniqueBitmap picture_;
    // The picture composed over the fill colour at the client's size, and a brush of it that lets
    // the transparent labels show the picture behind them.
    ui::UniqueBitmap backdrop_;
    UniqueBrush backdropBrush_;
    int loadCount_ = 0;
};

} // namespace zelvaran::about
