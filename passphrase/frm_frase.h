// frmFrase: the passphrase window, opened from the main window's system menu. Modeless and single:
// opening it again brings it forward. It makes a phrase as it opens and on "Generar", shows the
// entropy of its settings as they change, copies the phrase like the main window's "Copiar", and
// keeps its four choices per user.
#pragma once

#include <windows.h>

#include "generator/passphrase.h"
#include "generator/random_source.h"
#include "output/clipboard_clearer.h"
#include "ui/handles.h"
#include "ui/window.h"
#include "ui/window_icons.h"

namespace zelvaran::passphrase {

class frmFrase final : public ui::Form {
public:
    static constexpr const wchar_t* kClassName = L"Zelvaran.frmFrase";
    // A fixed border and a title bar with the close box only, like the configuration dialog.
    static constexpr DWORD kStyle = WS_CAPTION | WS_SYSMENU;
    static constexpr DWORD kExStyle = WS_EX_CONTROLPARENT;

    frmFrase();
    ~frmFrase() override;

    // Loads the window if it is not loaded (its choices read, a phrase made), then shows it and
    // brings it forward. False when the window could not be made.
    [[nodiscard]] bool Show() noexcept;
    // Wipes the phrase shown, for a process that ends without closing the window.
    void WipePhrase() noexcept;

    // Generar's handler, public for the benchmark.
    void cmdGenerar_Click() noexcept;
    // The countdown that every copy of the window starts (the main window's); none: no clearing.
    void UseClearer(output::ClipboardClearer* clearer) noexcept { clearer_ = clearer; }
    // A copy of the window's (Copiar, or the read-out's own copy) is on the clipboard.
    void Copied(DWORD sequence) noexcept;
    // Replaces the random source (tests, benchmark) until replaced again.
    void UseRandomSource(RandomSource& random) noexcept { random_ = &random; }

private:
    [[nodiscard]] bool PreTranslateMessage(MSG& msg) noexcept override;
    [[nodiscard]] bool OnCreate() noexcept override;
    void OnRelayout(int dpi) noexcept override;
    void OnCommand(int id, int code) noexcept override;
    void OnLoad() noexcept;
    void OnClose() noexcept override;

    void cmdCopiar_Click() noexcept;
    void cmdCerrar_Click() noexcept;
    void txtPalabras_Change() noexcept;
    void Settings_Change() noexcept;

    // The choices as the controls show them; Words is 0 when the box does not hold 1 to 64.
    [[nodiscard]] PassphraseOptions ReadChoices() const;
    void ShowChoices(const PassphraseOptions& choices) noexcept;
    void Refuse(const wchar_t* text, int focus) noexcept;
    void Remember(const PassphraseOptions& choices) noexcept;

    ui::WindowIcons icons_;
    ui::UniqueWindow owner_; // keeps the window off the task bar; see Form2::CreateOwner
    WordList list_;
    PassphraseOptions stored_; // what the settings store holds, as loaded or last saved
    SystemRandomSource systemRandom_;
    RandomSource* random_ = &systemRandom_;
    output::ClipboardClearer* clearer_ = nullptr;
};

} // namespace zelvaran::passphrase
