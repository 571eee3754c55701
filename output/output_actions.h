// Copiar, Cortar and Cortar y Salir: take the generated text out of the read-out box.
#pragma once

#include <windows.h>

#include "output/clipboard_clearer.h"

namespace zelvaran::output {

enum class OutputAction { Copy, Cut, CutAndExit };

struct OutputControls {
    HWND Owner;
    HWND Password; // txtPassword
    HWND Copy;
    HWND Cut;
    HWND CutAndExit;
    ClipboardClearer* Clearer = nullptr; // told of every text placed
};

// Runs one action. Returns true when the text went onto the clipboard; only then is the box
// emptied (Cortar), are the buttons disabled and is the confirmation shown. On failure the user
// is told and nothing else changes, so the caller must not exit.
[[nodiscard]] bool RunOutputAction(OutputAction action, const OutputControls& controls) noexcept;

inline constexpr const wchar_t* kCopiedText = L"Texto Copiado";
inline constexpr const wchar_t* kCutText = L"Texto Cortado";
inline constexpr const wchar_t* kConfirmTitle = L"Zelvaran";
inline constexpr const wchar_t* kClipboardBusyText =
    L"No se pudo usar el Portapapeles: otro programa lo tiene abierto.\r\n\r\n"
    L"El texto generado sigue en la ventana. Vuelva a intentarlo en un momento.";
inline constexpr const wchar_t* kClipboardFailedText =
    L"No se pudo poner el texto en el Portapapeles.\r\n\r\n"
    L"El texto generado sigue en la ventana. Vuelva a intentarlo en un momento.";

} // namespace zelvaran::output
