// frmMain: the start-up window. It gathers the generation options, shows the generated text and
// carries the output buttons and the menu bar.
#pragma once

#include <windows.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "about/form5.h"
#include "config/form2.h"
#include "generator/generate_command.h"
#include "mainwindow/tray_icon.h"
#include "ui/window_icons.h"
#include "generator/random_source.h"
#include "output/clipboard_clearer.h"
#include "output/output_actions.h"
#include "passphrase/frm_frase.h"
#include "ui/controls.h"
#include "ui/navigation.h"
#include "ui/handles.h"
#include "ui/window.h"

namespace zelvaran::mainwindow {

class frmMain final : public ui::Form, private GenerateView {
public:
    static constexpr const wchar_t* kClassName = L"Zelvaran.frmMain";
    static constexpr const wchar_t* kDesignCaption = L"Security Zelvaran";
    static constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    static constexpr DWORD kExStyle = WS_EX_CONTROLPARENT;

    frmMain();
    ~frmMain() override;

    // Creates the window and runs its load step, which shows it.
    [[nodiscard]] bool Create() noexcept;

    // -1 makes the window topmost, 0 ordinary; any other value does nothing.
    void WindowOnTop(const std::int16_t& flag) noexcept;

    // Generar's handler, public so that tests and the benchmark can run it where a click could
    // not reach it (while the button is disabled during a run).
    void cmdGennerate_Click() noexcept;

    // Clears the topmost state, then shows the configuration dialog (system menu "Configuracion").
    void OpenConfiguration() noexcept;

    [[nodiscard]] const TrayIcon& Tray() const noexcept { return tray_; }
    [[nodiscard]] about::Form5& About() noexcept { return about_; }
    [[nodiscard]] config::Form2& Configuration() noexcept { return configuration_; }
    [[nodiscard]] passphrase::frmFrase& Passphrase() noexcept { return passphrase_; }

    // The help file beside the running exe (not the current directory: a program started at
    // logon has another one, and a document there may have been planted).
    [[nodiscard]] static std::wstring HelpFilePath();

    // The system-menu command that opens the configuration dialog.
    static constexpr UINT kSysConfiguration = 0x0110;
    // The system-menu command that opens the passphrase window, right under it.
    static constexpr UINT kSysPassphrase = 0x0120;
    // The system menu's check items for Generate's rules, in menu order after a separator.
    static constexpr UINT kSysOneOfEachKind = 0x0140;
    static constexpr UINT kSysNoLookAlikes = 0x0150;
    static constexpr std::size_t kRuleCount = 2;
    // The radio items of the system menu's "Vaciar el portapapeles", in menu order: "Nunca", then
    // 10, 30, 60 and 300 seconds.
    static constexpr std::array<UINT, 5> kSysClearItems{0x0160, 0x0170, 0x0180, 0x0190, 0x01A0};

    // The countdown after each copy of either window.
    [[nodiscard]] const output::ClipboardClearer& Clearer() const noexcept { return clearer_; }

    // The timer that adds the icon again while the notification area refuses it.
    static constexpr UINT_PTR kTrayRetryTimer = 1;

    // Replaces the random source (tests); the window keeps using it until replaced again.
    void UseRandomSource(RandomSource& random) noexcept { random_ = &random; }

private:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

    // The handlers the controls and the menu reach through OnCommand.
    void chkSpecial_Click() noexcept;
    void chkStyle_Click() noexcept;
    void txtLength_Change() noexcept;
    void Copy_Click() noexcept;
    void cut_Click() noexcept;
    void cutxit_Click() noexcept;
    void salir_Click() noexcept;
    void Ayuda_Click() noexcept;
    void mnu_about_Click() noexcept;

    [[nodiscard]] bool OnCreate() noexcept override;
    void OnRelayout(int dpi) noexcept override;
    void OnLoad() noexcept;
    void OnCommand(int id, int code) noexcept override;
    [[nodiscard]] LRESULT OnCtlColorStatic(HDC dc, HWND control) noexcept override;
    void OnMouseMove(WPARAM wParam, LPARAM lParam) noexcept;
    // Whether a mouse-move message is the pointer over the window rather than an icon report.
    [[nodiscard]] bool PointerOverClient(LPARAM lParam) const noexcept;
    void OnSize(UINT type) noexcept override;
    void OnTaskbarCreated() noexcept;
    void OnTimer(UINT_PTR id) noexcept;
    void AddTrayIcon() noexcept;
    void StartTrayRetry() noexcept;
    void StopTrayRetry() noexcept;
    void ShowTrayNoticeOnce() noexcept;
    [[nodiscard]] bool OnSysCommand(UINT command) noexcept;
    void OnClose() noexcept override;
    void OnEndSession(bool ending) noexcept;
    void OnUnload() noexcept;
    void OnDestroy() noexcept override;
    [[nodiscard]] bool AddConfigurationToSystemMenu() noexcept;
    [[nodiscard]] bool AddRulesToSystemMenu() noexcept;
    [[nodiscard]] bool OnRuleCommand(UINT command) noexcept;
    [[nodiscard]] bool AddClearingToSystemMenu() noexcept;
    [[nodiscard]] bool OnClearCommand(UINT command) noexcept;
    void HideProgramWindows() noexcept;
    void ToggleRule(std::size_t index) noexcept;
    // Says that the choice of the window menu item `caption` could not be stored.
    void ReportNotSaved(const wchar_t* caption, LSTATUS status) noexcept;
    void OnConfigurationClosed(std::int16_t topmostFlag) noexcept;
    void PlaceOnTop(std::int16_t flag, UINT flags) noexcept;
    void ShareTopmostWithAbout() noexcept;
    void ShareTopmostWithPassphrase() noexcept;
    void OpenPassphrase() noexcept;
    [[nodiscard]] bool InstallLengthFilter() noexcept;

    [[nodiscard]] int CheckState(int id) const noexcept;
    void RunOutput(output::OutputAction action) noexcept;

    // GenerateView over the controls.
    void DisableGenerate() override;
    [[nodiscard]] GenerationOptions ReadOptions() override;
    void ShowError(const GenerationError& error) override;
    void ShowResult(const SecretText& text) override;
    void EnableButtons() override;

    output::ClipboardClearer clearer_;
    HMENU clearMenu_ = nullptr; // the submenu, owned by the system menu
    about::Form5 about_;
    config::Form2 configuration_{[this](std::int16_t flag) {
        OnConfigurationClosed(flag);
    }};
    passphrase::frmFrase passphrase_;
    TrayIcon tray_;
    ui::UniqueIcon trayImage_; // what the icon shows, at the window's DPI
    ui::WindowIcons icons_;
    UINT taskbarCreated_ = 0;
    int trayRetriesLeft_ = 0;   // while the notification area has not taken the icon yet
    ui::UniqueIcon noticeIcon_; // the balloon's; the shell may read it while it shows
    SystemRandomSource systemRandom_;
    RandomSource* random_ = &systemRandom_;
    bool generating_ = false;
    // The rules as stored, in menu order.
    static constexpr std::size_t kOneOfEachKindRule = 0;
    static constexpr std::size_t kNoLookAlikesRule = 1;
    std::array<bool, kRuleCount> rules_{};
    std::array<wchar_t, 8> lengthText_{}; // the length box's last text of digits only
};

} // namespace zelvaran::mainwindow
