#include "config/form2.h"

#include <string>
#include <utility>

#include "config/caption_fit.h"
#include "config/config_layout.h"
#include "config/settings_parse.h"
#include "config/settings_store.h"
#include "config/startup.h"
#include "resources/product.h"
#include "resources/resource_ids.h"
#include "ui/accessible_name.h"
#include "ui/navigation.h"
#include "ui/platform.h"

namespace zelvaran::config {
namespace {

// Why a change failed, in words the user can act on.
std::wstring Reason(LSTATUS code, const wchar_t* where) {
    if (code == ERROR_ACCESS_DENIED) {
        return std::wstring(L"No hay permiso para cambiar ") + where + L".";
    }
    return L"Error del sistema " + std::to_wstring(code) + L".";
}

constexpr const wchar_t* kMachineRun =
    L"la entrada de inicio del equipo "
    L"(HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Run)";
constexpr const wchar_t* kUserRun =
    L"la entrada de inicio del usuario "
    L"(HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run)";
constexpr const wchar_t* kUserSettings = L"la configuraci\u00F3n del usuario";

constexpr const wchar_t* kNothingChanged = L"No se ha cambiado nada.";

std::wstring StartupFailureText(const StartupOutcome& outcome, std::int16_t state, RunRoot root) {
    std::wstring text;
    if (outcome.FailedStep == StartupStep::Registry) {
        text = state == kChecked ? L"No se pudo activar el inicio con Windows. "
                                 : L"No se pudo desactivar el inicio con Windows. ";
        text += Reason(outcome.Code, root == RunRoot::Machine ? kMachineRun : kUserRun);
    } else {
        text = L"No se pudo guardar la opci\u00F3n \u00ABIniciar con Windows\u00BB en la "
               L"configuraci\u00F3n del usuario. ";
        text += Reason(outcome.Code, kUserSettings);
    }
    text += L' ';
    text += outcome.RunEntryLeftChanged
                ? L"La entrada de inicio no se pudo devolver a su estado anterior."
                : kNothingChanged;
    return text;
}

// Opening the dialog asks for no administrator's consent; what it could not do, the user is
// told here, with the way to do it.
// The title the program's notices carry (errors have their own).
constexpr const wchar_t* kNoticeTitle = L"Zelvaran";
constexpr const wchar_t* kNotAskedText =
    L"Esta copia del programa est\u00E1 instalada para todos los usuarios, pero su entrada de "
    L"inicio del equipo no est\u00E1 escrita. Marque \u00ABIniciar con Windows\u00BB para "
    L"escribirla: Windows pedir\u00E1 el permiso de un administrador.";
constexpr const wchar_t* kMachineEntryLeftText =
    L"Queda una entrada de inicio del equipo que abre esta copia del programa, y otros usuarios "
    L"podr\u00EDan cambiar el archivo que abre. Pida a un administrador que borre el valor "
    L"\u00ABZelvaran\u00BB de "
    L"HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Run, o desmarque y "
    L"vuelva a marcar \u00ABIniciar con Windows\u00BB para borrarlo usted con el permiso de un "
    L"administrador.";

std::wstring StoreFailureText(LSTATUS code) {
    return L"No se pudo guardar la opci\u00F3n \u00ABSiempre al Frente\u00BB en la "
           L"configuraci\u00F3n del usuario. " +
           Reason(code, kUserSettings) + L" " + kNothingChanged;
}

} // namespace

constexpr ui::FormShape kShape{
    Form2::kClassName, kCaption,           Form2::kStyle,   Form2::kExStyle,
    kClientWidthTwips, kClientHeightTwips, kConfigControls, 0}; // no default button

Form2::Form2(ClosedHandler onClosed) : ui::Form(kShape), onClosed_(std::move(onClosed)) {}

Form2::~Form2() {
    // The dialog goes before its owner (a member, gone before the base's destructor runs);
    // destroying it here runs no closing logic.
    DestroyDetached();
}

bool Form2::Show() noexcept {
    if (!Load()) {
        return false;
    }
    ShowAndRaise();
    return true;
}

bool Form2::CreateOwner() noexcept {
    if (owner_) {
        return true;
    }
    // A top-level window with an owner gets no task-bar button. The owner is a hidden window of
    // the dialog's own, never the main window: owned by the main window the dialog would vanish
    // whenever the main window hides in the notification area and could never go behind it.
    // WS_EX_TOOLWINDOW would also keep it off the task bar, but at the cost of a small caption
    // without the dialog's icon.
    owner_.reset(CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                 GetModuleHandleW(nullptr), nullptr));
    return static_cast<bool>(owner_);
}

bool Form2::Load() noexcept {
    if (hwnd_ != nullptr) {
        return true;
    }
    // The icons are set per window (WM_SETICON) at the window's DPI, so the class has none.
    if (!RegisterFormClass(nullptr, nullptr, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1)) ||
        !CreateOwner() || !CreateCentred(owner_.get(), nullptr)) {
        return false;
    }
    OnLoad();
    return true;
}

bool Form2::OnCreate() noexcept {
    if (!CreateControls()) {
        return false;
    }
    const int dpi = controls_.Dpi();
    WidenCheckBoxesToFitCaptions(controls_, kClientWidthTwips, dpi);
    icons_.Set(hwnd_, IDI_CONFIG, dpi);
    // Without it the banner is merely a picture without a name for screen readers.
    static_cast<void>(ui::SetAccessibleName(Control(kImage1), kProductName));
    return true;
}

// The load step: the boxes start unchecked and take the stored choices, "Inicio" first.
void Form2::OnLoad() noexcept {
    inicioState_ = BoxState(kInicio);
    chTopState_ = BoxState(kChTop);
    loading_ = true;
    LoadChoice(kInicio, kKeyInicio, &Form2::Inicio_Click);
    LoadChoice(kChTop, kKeyChTop, &Form2::ChTop_Click);
    loading_ = false;
}

void Form2::LoadChoice(int id, std::wstring_view key, void (Form2::*click)() noexcept) noexcept {
    const std::int16_t current = BoxState(id);
    std::int16_t stored = current;
    try {
        stored = ParseStoredState(GetSetting(kAppName, kSection, key, StoredStateText(current)),
                                  current);
    } catch (...) {
        return; // out of memory reading a short text: the box keeps its state
    }
    if (stored == current) {
        return;
    }
    SendMessageW(Control(id), BM_SETCHECK, static_cast<WPARAM>(stored), 0);
    // A change made here counts as the user's click would: the box's handler runs, which is
    // what writes the Run entry again while "Inicio" is stored as "1".
    if (BoxState(id) != current) {
        (this->*click)();
    }
}

void Form2::OnCommand(int id, int code) noexcept {
    static constexpr ui::Command<Form2> kClicks[] = {
        {kInicio, &Form2::Inicio_Click},
        {kChTop, &Form2::ChTop_Click},
    };
    static_cast<void>(ui::RunClick(*this, kClicks, id, code));
}

void Form2::OnRelayout(int dpi) noexcept {
    WidenCheckBoxesToFitCaptions(controls_, kClientWidthTwips, dpi);
    icons_.Set(hwnd_, IDI_CONFIG, dpi);
}

void Form2::OnClose() noexcept {
    if (busy_) {
        return; // an elevated step is under way; the dialog can be closed once it is over
    }
    DestroyWindow(hwnd_);
    try {
        // A copy: the handler may well destroy this object.
        ClosedHandler handler = onClosed_;
        if (handler) {
            handler(StoredTopmostFlag());
        }
    } catch (...) {
        // Out of memory copying the handler, or a handler that threw: nothing to undo here.
    }
}

std::int16_t Form2::BoxState(int id) const noexcept {
    return static_cast<std::int16_t>(SendMessageW(Control(id), BM_GETCHECK, 0, 0));
}

void Form2::PutBoxBack(int id, std::int16_t state) noexcept {
    // BM_SETCHECK notifies nobody, so the box's handler does not run again.
    SendMessageW(Control(id), BM_SETCHECK, static_cast<WPARAM>(state), 0);
}

void Form2::ReportFailure(const wchar_t* text) noexcept {
    // One OK button: the answer carries nothing.
    static_cast<void>(ui::ShowProgramMessage(hwnd_, text, kErrorTitle, MB_OK | MB_ICONSTOP));
}

void Form2::Inicio_Click() noexcept {
    if (busy_) {
        return;
    }
    const std::int16_t state = BoxState(kInicio);
    StartupOutcome outcome;
    // Found afresh each time: the folder may have been moved or renamed while the program ran.
    ThisCopy found;
    const ThisCopy* copy = copy_ ? &*copy_ : nullptr;
    if (copy == nullptr) {
        if (const DWORD error = LocateThisCopy(found); error != ERROR_SUCCESS) {
            outcome = {StartupStep::Registry, static_cast<LSTATUS>(error)};
        } else {
            copy = &found;
        }
    }
    if (copy != nullptr) {
        // An elevated step keeps this thread's messages flowing while it waits: the dialog
        // repaints, but takes no click until the step is over.
        busy_ = true;
        const bool wasEnabled = EnableWindow(hwnd_, FALSE) == FALSE;
        outcome =
            ApplyStartupChoice(state, *copy, hwnd_, loading_ ? Consent::Never : Consent::MayAsk);
        if (wasEnabled) {
            EnableWindow(hwnd_, TRUE);
        }
        busy_ = false;
    }
    if (outcome.Ok()) {
        inicioState_ = state;
        if (outcome.MachineEntryLeft) {
            // One OK button: the answer carries nothing.
            static_cast<void>(ui::ShowProgramMessage(hwnd_, kMachineEntryLeftText, kNoticeTitle,
                                                     MB_OK | MB_ICONWARNING));
        }
        return;
    }
    // The box goes back first, so that it tells the truth while the message is up.
    PutBoxBack(kInicio, inicioState_);
    if (outcome.FailedStep == StartupStep::Declined) {
        return; // the user said no to the consent prompt: nothing to explain
    }
    if (outcome.FailedStep == StartupStep::NotAsked) {
        static_cast<void>(
            ui::ShowProgramMessage(hwnd_, kNotAskedText, kNoticeTitle, MB_OK | MB_ICONINFORMATION));
        return;
    }
    try {
        ReportFailure(
            StartupFailureText(outcome, state, copy != nullptr ? copy->Root : RunRoot::User)
                .c_str());
    } catch (...) {
        ReportFailure(L"No se pudo cambiar el inicio con Windows.");
    }
}

void Form2::ChTop_Click() noexcept {
    if (busy_) {
        return;
    }
    const std::int16_t state = BoxState(kChTop);
    const LSTATUS status = SaveSetting(kAppName, kSection, kKeyChTop, StoredStateText(state));
    if (status == ERROR_SUCCESS) {
        chTopState_ = state;
        return;
    }
    PutBoxBack(kChTop, chTopState_);
    try {
        ReportFailure(StoreFailureText(status).c_str());
    } catch (...) {
        ReportFailure(L"No se pudo guardar la opci\u00F3n \u00ABSiempre al Frente\u00BB.");
    }
}

std::int16_t StoredTopmostFlag() noexcept {
    try {
        // The same reading as the dialog's, so that both count a stray value as the default.
        const std::wstring text = GetSetting(kAppName, kSection, kKeyChTop, L"0");
        return ParseStoredState(text, kUnchecked) == kChecked ? -1 : 0;
    } catch (...) {
        return 0; // out of memory: the main window starts as an ordinary window
    }
}

} // namespace zelvaran::config
