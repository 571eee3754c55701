// Form2: the configuration dialog. Two check boxes, each acting the moment it changes: "Iniciar
// con Windows" (the Run entry and the stored "Inicio") and "Siempre al Frente" (the stored
// "ChTop"). There is no OK or Cancel; the close box unloads the dialog.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "config/startup.h"
#include "ui/controls.h"
#include "ui/navigation.h"
#include "ui/handles.h"
#include "ui/window.h"
#include "ui/window_icons.h"

namespace zelvaran::config {

class Form2 final : public ui::Form {
public:
    // Runs after the close box has destroyed the dialog, with StoredTopmostFlag().
    using ClosedHandler = std::function<void(std::int16_t topmostFlag)>;
    static constexpr const wchar_t* kClassName = L"Zelvaran.Form2";

    explicit Form2(ClosedHandler onClosed);
    ~Form2() override;

    // Loads the dialog if it is not loaded (its load step runs before it becomes visible), then
    // shows it modeless, not owned by the main window, and brings it forward.
    [[nodiscard]] bool Show() noexcept;

    // Which copy "Iniciar con Windows" registers, and where: found from the running exe at each
    // change, unless set here (tests stand in for an installed copy).
    void SetThisCopy(ThisCopy copy) noexcept { copy_ = std::move(copy); }

    // A fixed single border and a title bar with the close box only.
    static constexpr DWORD kStyle = WS_CAPTION | WS_SYSMENU;
    static constexpr DWORD kExStyle = WS_EX_CONTROLPARENT;

private:
    void Inicio_Click() noexcept;
    void ChTop_Click() noexcept;
    void OnRelayout(int dpi) noexcept override;

    [[nodiscard]] bool Load() noexcept;
    [[nodiscard]] bool CreateOwner() noexcept;
    [[nodiscard]] bool OnCreate() noexcept override;
    void OnLoad() noexcept;
    void OnCommand(int id, int code) noexcept override;
    void OnClose() noexcept override;

    void LoadChoice(int id, std::wstring_view key, void (Form2::*click)() noexcept) noexcept;
    [[nodiscard]] std::int16_t BoxState(int id) const noexcept;
    void PutBoxBack(int id, std::int16_t state) noexcept;
    void ReportFailure(const wchar_t* text) noexcept;

    ClosedHandler onClosed_;
    // Owning the dialog keeps it off the task bar while it keeps its caption and icon; see
    // CreateOwner for why not the main window or a tool window.
    ui::UniqueWindow owner_;
    ui::WindowIcons icons_;
    // What each box showed after its last completed change: a failed change goes back to it.
    std::int16_t inicioState_ = 0;
    std::int16_t chTopState_ = 0;
    std::optional<ThisCopy> copy_;
    // While a change waits for an elevated step, the dialog is disabled and takes no other.
    bool busy_ = false;
    // The load step is running: nothing it does may show a consent prompt.
    bool loading_ = false;
};

// -1 when "ChTop" is stored as "1", else 0: for the main window's start.
[[nodiscard]] std::int16_t StoredTopmostFlag() noexcept;

} // namespace zelvaran::config
