#include "passphrase/frm_frase.h"

#include <commctrl.h>

#include <string>

#include "generator/entropy.h"
#include "generator/phrase_rules.h"
#include "generator/strength.h"
#include "generator/words.h"
#include "output/clipboard.h"
#include "output/output_actions.h"
#include "passphrase/phrase_choices.h"
#include "passphrase/phrase_layout.h"
#include "resources/product.h"
#include "resources/resource_ids.h"
#include "ui/accessible_name.h"
#include "ui/navigation.h"
#include "ui/screen_reader.h"
#include "ui/platform.h"
#include "ui/window_text.h"

namespace zelvaran::passphrase {
namespace {

// What an attacker who tries a trillion phrases a second needs on average; the help says so.
constexpr const char16_t* kTimeCaption = u"Tiempo medio para adivinarla: ";

constexpr const wchar_t* kKept = L"\r\n\r\nLa frase anterior sigue en la ventana.";

std::wstring SaveFailureText(LSTATUS code) {
    std::wstring text = L"No se pudieron guardar las opciones de la frase en la configuraci\u00F3n "
                        L"del usuario. ";
    text += code == ERROR_ACCESS_DENIED ? L"No hay permiso para cambiarla."
                                        : L"Error del sistema " + std::to_wstring(code) + L".";
    return text;
}

void ReportClipboard(HWND owner, output::ClipboardStatus status) noexcept {
    static_cast<void>(ui::ShowProgramMessage(owner,
                                             status == output::ClipboardStatus::Busy
                                                 ? output::kClipboardBusyText
                                                 : output::kClipboardFailedText,
                                             kErrorTitle, MB_OK | MB_ICONSTOP));
}

// Ctrl+C and the box's own "Copiar" menu copy the selection the way the Copiar button does, so
// no part of a phrase reaches the clipboard history either.
LRESULT CALLBACK PhraseBoxProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR,
                               DWORD_PTR window) noexcept {
    if (msg != WM_COPY) {
        return DefSubclassProc(hwnd, msg, wParam, lParam);
    }
    DWORD start = 0;
    DWORD end = 0;
    SendMessageW(hwnd, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    output::ClipboardStatus status = output::ClipboardStatus::Failed;
    DWORD sequence = 0;
    try {
        SecretText text;
        ui::ReadWindowText(hwnd, text.Buffer());
        if (start >= end || end > text.Size()) {
            return 0; // nothing selected: nothing to copy, as the box itself would do
        }
        status = output::PlaceSecretText(
            hwnd, {ui::AsWide(text.CStr()) + start, static_cast<std::size_t>(end - start)},
            &sequence);
    } catch (...) {
        status = output::ClipboardStatus::Failed; // out of memory reading the box
    }
    if (status != output::ClipboardStatus::Placed) {
        ReportClipboard(GetAncestor(hwnd, GA_ROOT), status);
    } else {
        reinterpret_cast<frmFrase*>(window)->Copied(sequence);
    }
    return 0;
}

bool IsChecked(HWND box) noexcept {
    return SendMessageW(box, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

} // namespace

constexpr ui::FormShape kShape{frmFrase::kClassName, kCaption,          frmFrase::kStyle,
                               frmFrase::kExStyle,   kClientWidthTwips, kClientHeightTwips,
                               kPhraseControls,      kCmdGenerar};

frmFrase::frmFrase() : ui::Form(kShape), list_(MeasureWords(SpanishWords())) {}

frmFrase::~frmFrase() {
    // The window goes before its owner, a member; destroying it here runs no closing logic.
    WipePhrase();
    DestroyDetached();
}

bool frmFrase::Show() noexcept {
    if (hwnd_ == nullptr) {
        HINSTANCE instance = GetModuleHandleW(nullptr);
        // Owned by a hidden window of its own: off the task bar, yet with its caption and icon,
        // and never hidden with the main window in the notification area.
        if (!owner_) {
            owner_.reset(CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                         instance, nullptr));
        }
        if (!owner_ || !RegisterFormClass(IDI_ZELVARAN) || !CreateCentred(owner_.get(), nullptr)) {
            return false;
        }
        OnLoad();
    }
    ShowAndRaise();
    return true;
}

bool frmFrase::OnCreate() noexcept {
    if (!CreateControls()) {
        return false;
    }
    HWND words = Control(kTxtPalabras);
    // Typed keys stay digits; txtPalabras_Change takes out whatever else gets in.
    SetWindowLongPtrW(words, GWL_STYLE, GetWindowLongPtrW(words, GWL_STYLE) | ES_NUMBER);
    SendMessageW(words, EM_LIMITTEXT, kWordsMaxChars, 0);
    SendMessageW(Control(kTxtSeparador), EM_LIMITTEXT, kSeparatorMaxChars, 0);
    // Without it the banner is merely a picture without a name for screen readers.
    static_cast<void>(ui::SetAccessibleName(Control(kImage1), kProductName));
    // The class's icons are the system DPI's; the window's own follow its monitor.
    icons_.Set(hwnd_, IDI_ZELVARAN, controls_.Dpi());
    return SetWindowSubclass(Control(kTxtFrase), &PhraseBoxProc, 1,
                             reinterpret_cast<DWORD_PTR>(this)) != FALSE;
}

// The load step: the stored choices, then a phrase, so the window never opens empty.
void frmFrase::OnLoad() noexcept {
    try {
        stored_ = LoadChoices();
    } catch (...) {
        stored_ = PassphraseOptions{}; // out of memory reading short texts: the defaults
    }
    ShowChoices(stored_);
    focus_.Remember(Control(kCmdGenerar)); // the focus it gets when it is shown
    cmdGenerar_Click();
}

void frmFrase::OnRelayout(int dpi) noexcept {
    icons_.Set(hwnd_, IDI_ZELVARAN, dpi);
}

bool frmFrase::PreTranslateMessage(MSG& msg) noexcept {
    if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) {
        OnClose();
        return true;
    }
    return ui::HandleAccessKey(msg, controls_) || ui::Form::PreTranslateMessage(msg);
}

void frmFrase::OnCommand(int id, int code) noexcept {
    static constexpr ui::Command<frmFrase> kClicks[] = {
        {kCmdGenerar, &frmFrase::cmdGenerar_Click}, {kCmdCopiar, &frmFrase::cmdCopiar_Click},
        {kCmdCerrar, &frmFrase::cmdCerrar_Click},   {kChkMayusculas, &frmFrase::Settings_Change},
        {kChkCifra, &frmFrase::Settings_Change},
    };
    if (ui::RunClick(*this, kClicks, id, code)) {
        return;
    }
    if (code == EN_CHANGE && id == kTxtPalabras) {
        txtPalabras_Change();
    } else if (code == EN_CHANGE && id == kTxtSeparador) {
        Settings_Change();
    }
}

PassphraseOptions frmFrase::ReadChoices() const {
    PassphraseOptions choices;
    const std::u16string words = ui::ReadWindowText(Control(kTxtPalabras));
    choices.Words = ParseWordCount({ui::AsWide(words.c_str()), words.size()}).value_or(0);
    choices.Separator = ui::ReadWindowText(Control(kTxtSeparador));
    choices.Capitalize = IsChecked(Control(kChkMayusculas));
    choices.AddDigit = IsChecked(Control(kChkCifra));
    return choices;
}

void frmFrase::ShowChoices(const PassphraseOptions& choices) noexcept {
    SetWindowTextW(Control(kTxtPalabras), std::to_wstring(choices.Words).c_str());
    SetWindowTextW(Control(kTxtSeparador), ui::AsWide(choices.Separator.c_str()));
    SendMessageW(Control(kChkMayusculas), BM_SETCHECK, choices.Capitalize ? BST_CHECKED : 0, 0);
    SendMessageW(Control(kChkCifra), BM_SETCHECK, choices.AddDigit ? BST_CHECKED : 0, 0);
    Settings_Change();
}

void frmFrase::txtPalabras_Change() noexcept {
    // A paste, a drop or an input method can bring in what ES_NUMBER keeps out of typing: only
    // the digits stay.
    HWND box = Control(kTxtPalabras);
    wchar_t text[16] = {};
    const int length = GetWindowTextW(box, text, 16);
    std::wstring digits;
    for (int i = 0; i < length; ++i) {
        if (text[i] >= L'0' && text[i] <= L'9' && digits.size() < kWordsMaxChars) {
            digits.push_back(text[i]);
        }
    }
    if (static_cast<int>(digits.size()) != length) {
        SetWindowTextW(box, digits.c_str()); // runs this again, with digits only
        SendMessageW(box, EM_SETSEL, digits.size(), digits.size());
        return;
    }
    Settings_Change();
}

void frmFrase::Settings_Change() noexcept {
    try {
        const PassphraseOptions choices = ReadChoices();
        // No figure for what Generar refuses: joined words without capitals read more than one way.
        const bool refused =
            choices.Words == 0 ||
            CheckSeparator(choices.Separator, choices.Capitalize) == PhraseRefusal::EmptySeparator;
        const double bits = PassphraseEntropyBits(choices, list_.Words.size());
        const std::u16string entropy = refused ? u"Entrop\u00EDa: \u2014" : FormatEntropy(bits);
        const std::u16string time =
            kTimeCaption + (refused ? u"\u2014" : AverageCrackTimeText(bits));
        SetWindowTextW(Control(kLblEntropia), ui::AsWide(entropy.c_str()));
        SetWindowTextW(Control(kLblTiempo), ui::AsWide(time.c_str()));
    } catch (...) {
        // Out of memory for a short text: the labels keep their figures until the next change.
    }
}

void frmFrase::Refuse(const wchar_t* text, int focus) noexcept {
    try {
        const std::wstring message = std::wstring(text) + kKept;
        static_cast<void>(ui::ShowProgramMessage(hwnd_, message.c_str(), kErrorTitle,
                                                 MB_OK | MB_ICONSTOP)); // OK only
    } catch (...) {
        static_cast<void>(ui::ShowProgramMessage(hwnd_, text, kErrorTitle, MB_OK | MB_ICONSTOP));
    }
    if (focus != 0) {
        SetFocus(Control(focus));
        SendMessageW(Control(focus), EM_SETSEL, 0, -1);
    }
}

void frmFrase::Remember(const PassphraseOptions& choices) noexcept {
    try {
        if (const LSTATUS status = SaveChoices(choices, stored_); status != ERROR_SUCCESS) {
            static_cast<void>(ui::ShowProgramMessage(hwnd_, SaveFailureText(status).c_str(),
                                                     kErrorTitle, MB_OK | MB_ICONSTOP));
        }
    } catch (...) {
        // Out of memory for a short text: the choices stay unsaved until the next try.
    }
}

void frmFrase::cmdGenerar_Click() noexcept {
    try {
        const PassphraseOptions choices = ReadChoices();
        if (choices.Words == 0) {
            Refuse(L"El n\u00FAmero de palabras debe ser de 1 a 64.", kTxtPalabras);
            return;
        }
        if (!SeparatorAllowed({ui::AsWide(choices.Separator.c_str()), choices.Separator.size()})) {
            Refuse(L"El separador admite hasta 8 caracteres, ninguno de ellos de control ni "
                   L"invisible.",
                   kTxtSeparador);
            return;
        }
        if (CheckSeparator(choices.Separator, choices.Capitalize) != PhraseRefusal::None) {
            Refuse(L"Sin separador, solo las may\u00FAsculas marcan d\u00F3nde empieza cada "
                   L"palabra: escriba un separador o marque \u00ABMay\u00FAscula inicial\u00BB.",
                   kTxtSeparador);
            return;
        }
        SecretText phrase;
        random_->Reseed();
        if (!GeneratePassphrase(choices, list_, *random_, phrase)) {
            Refuse(L"No se pudieron obtener n\u00FAmeros aleatorios del sistema.", 0);
            return;
        }
        // Blanks over the old phrase, then the new one, as in the main window: the box's own
        // buffer is never written behind its back.
        ui::ReplaceSecretWindowText(Control(kTxtFrase), phrase.CStr());
        ui::AnnounceValueChange(Control(kTxtFrase));
        EnableWindow(Control(kCmdCopiar), TRUE);
        Remember(choices);
    } catch (...) {
        Refuse(L"No hay memoria suficiente para generar la frase.", 0);
    }
}

void frmFrase::cmdCopiar_Click() noexcept {
    output::ClipboardStatus status = output::ClipboardStatus::Failed;
    DWORD sequence = 0;
    try {
        SecretText text;
        ui::ReadWindowText(Control(kTxtFrase), text.Buffer());
        status = output::PlaceSecretText(hwnd_, {ui::AsWide(text.CStr()), text.Size()}, &sequence);
    } catch (...) {
        status = output::ClipboardStatus::Failed; // out of memory reading the box
    }
    if (status != output::ClipboardStatus::Placed) {
        ReportClipboard(hwnd_, status);
        return;
    }
    Copied(sequence);
    static_cast<void>(ui::ShowProgramMessage(hwnd_, output::kCopiedText, output::kConfirmTitle,
                                             MB_OK | MB_ICONINFORMATION | MB_APPLMODAL));
}

void frmFrase::Copied(DWORD sequence) noexcept {
    if (clearer_ != nullptr) {
        clearer_->Copied(sequence);
    }
}

void frmFrase::cmdCerrar_Click() noexcept {
    OnClose();
}

void frmFrase::OnClose() noexcept {
    try {
        // What the boxes hold now is kept, except a value "Generar" would refuse.
        PassphraseOptions choices = ReadChoices();
        if (choices.Words == 0) {
            choices.Words = stored_.Words;
        }
        if (!SeparatorAllowed({ui::AsWide(choices.Separator.c_str()), choices.Separator.size()}) ||
            CheckSeparator(choices.Separator, choices.Capitalize) != PhraseRefusal::None) {
            choices.Separator = stored_.Separator;
        }
        Remember(choices);
    } catch (...) {
        // Out of memory: the choices stay as last saved.
    }
    WipePhrase();
    DestroyWindow(hwnd_);
}

void frmFrase::WipePhrase() noexcept {
    if (hwnd_ != nullptr) {
        ui::WipeWindowText(Control(kTxtFrase));
    }
}

} // namespace zelvaran::passphrase
