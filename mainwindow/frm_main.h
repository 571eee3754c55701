// frmMain: the start-up window. It gathers the generation options, shows the generated text and
// carries the output buttons and the menu bar.
#pragma once

#include <windows.h>

#include <cstdint>

#include "generator/generate_command.h"
#include "generator/random_source.h"
#include "output/output_actions.h"
#include "ui/controls.h"
#include "ui/handles.h"
#include "ui/window.h"

namespace zelvaran::mainwindow {

class frmMain final : public ui::Form, private GenerateView {
public:
    static constexpr const wchar_t* kClassName = L"Zelvaran.frmMain";
    static constexpr const wchar_t* kDesignCaption = L"Security Zelvaran";
    static constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    static constexpr DWORD kExStyle = WS_EX_CONTROLPARENT;

    frmMain() = default;
    ~frmMain() override;

    // Creates the window and runs its load step, which shows it.
    [[nodiscard]] bool Create() noexcept;

    // -1 makes the window topmost, 0 ordinary; any other value does nothing.
    void WindowOnTop(const std::int16_t& flag) noexcept;

    [[nodiscard]] HWND Control(int id) const noexcept { return controls_.Get(id); }
    [[nodiscard]] const ui::ControlSet& Controls() const noexcept { return controls_; }

    // Handlers, public so that tests drive them exactly as the controls do.
    void cmdGennerate_Click() noexcept;
    void chkSpecial_Click() noexcept;
    void chkStyle_Click() noexcept;
    void Copy_Click() noexcept;
    void cut_Click() noexcept;
    void cutxit_Click() noexcept;
    void salir_Click() noexcept;

    // Replaces the random source (tests); the window keeps using it until replaced again.
    void UseRandomSource(RandomSource& random) noexcept { random_ = &random; }

private:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    [[nodiscard]] bool PreTranslateMessage(MSG& msg) noexcept override;

    [[nodiscard]] bool OnCreate() noexcept;
    void OnLoad() noexcept;
    void OnCommand(int id, int code) noexcept;
    [[nodiscard]] LRESULT OnCtlColorStatic(HDC dc, HWND control) noexcept;
    void OnDpiChanged(int dpi, const RECT& suggested) noexcept;
    void OnActivate(bool active) noexcept;
    void OnClose() noexcept;
    void OnDestroy() noexcept;

    [[nodiscard]] bool IsOwnControl(HWND hwnd) const noexcept;
    [[nodiscard]] int CheckState(int id) const noexcept;
    void RunOutput(output::OutputAction action) noexcept;

    // GenerateView over the controls.
    void DisableGenerate() override;
    [[nodiscard]] GenerationOptions ReadOptions() override;
    void ShowError(const GenerationError& error) override;
    void ShowResult(const SecretText& text) override;
    void EnableButtons() override;

    ui::ControlSet controls_;
    ui::UniqueMenu menu_;
    SystemRandomSource systemRandom_;
    RandomSource* random_ = &systemRandom_;
    bool generating_ = false;
    HWND lastFocus_ = nullptr;
};

} // namespace zelvaran::mainwindow
