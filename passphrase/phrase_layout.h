// The passphrase window's controls, as data: twips relative to the window. Each box follows the
// label that names it, both in the table and in the order the controls are made, which is where
// a screen reader looks for a box's name.
#pragma once

#include <array>

#include "ui/layout.h"

namespace zelvaran::passphrase {

enum ControlId : int {
    kLblPalabras = 4001,
    kTxtPalabras,
    kLblSeparador,
    kTxtSeparador,
    kChkMayusculas,
    kChkCifra,
    kLblFrase,
    kTxtFrase,
    kLblEntropia,
    kCmdGenerar,
    kCmdCopiar,
    kCmdCerrar,
    kImage1,
    kLblTiempo,
};

inline constexpr int kClientWidthTwips = 4455;
inline constexpr int kClientHeightTwips = 3975;
inline constexpr int kWordsMaxChars = 2;
inline constexpr int kSeparatorMaxChars = 8;

inline constexpr const wchar_t* kCaption = L"Frase de Contrase\u00F1a Security Zelvaran";

using enum ui::ControlKind;
using ui::kNoTabStop;
using ui::kWindow;

// clang-format off
inline constexpr std::array<ui::ControlSpec, 14> kPhraseControls{{
    // id             name               kind      container caption                        state                                   left  top   width height  tab
    {kLblPalabras,    L"lblPalabras",    Label,    kWindow,  L"&Palabras:",                 ui::kNone,                              {120,  930,  915,  255},  kNoTabStop},
    {kTxtPalabras,    L"txtPalabras",    TextBox,  kWindow,  L"6",                          ui::kCentred,                           {1050, 900,  600,  285},  0},
    {kLblSeparador,   L"lblSeparador",   Label,    kWindow,  L"&Separador:",                ui::kNone,                              {1890, 930,  1035, 255},  kNoTabStop},
    {kTxtSeparador,   L"txtSeparador",   TextBox,  kWindow,  L"-",                          ui::kCentred,                           {2940, 900,  1395, 285},  1},
    {kChkMayusculas,  L"chkMayusculas",  CheckBox, kWindow,  L"&May\u00FAscula inicial",    ui::kNone,                              {120,  1320, 1935, 255},  2},
    {kChkCifra,       L"chkCifra",       CheckBox, kWindow,  L"&A\u00F1adir una cifra",     ui::kNone,                              {2160, 1320, 2175, 255},  3},
    {kLblFrase,       L"lblFrase",       Label,    kWindow,  L"&Frase generada:",           ui::kNone,                              {120,  1680, 4215, 255},  kNoTabStop},
    {kTxtFrase,       L"txtFrase",       TextBox,  kWindow,  L"",                           ui::kReadOnly | ui::kMultiLine,         {120,  1935, 4215, 735},  4},
    {kLblEntropia,    L"lblEntropia",    Label,    kWindow,  L"",                           ui::kNone,                              {120,  2760, 4215, 255},  kNoTabStop},
    {kLblTiempo,      L"lblTiempo",      Label,    kWindow,  L"",                           ui::kNone,                              {120,  3000, 4215, 390},  kNoTabStop},
    {kCmdGenerar,     L"cmdGenerar",     Button,   kWindow,  L"&Generar",                   ui::kDefaultButton,                     {120,  3480, 1335, 375},  5},
    {kCmdCopiar,      L"cmdCopiar",      Button,   kWindow,  L"&Copiar",                    ui::kDisabled,                          {1560, 3480, 1335, 375},  6},
    {kCmdCerrar,      L"cmdCerrar",      Button,   kWindow,  L"Ce&rrar",                    ui::kNone,                              {3000, 3480, 1335, 375},  7},
    {kImage1,         L"Image1",         Picture,  kWindow,  L"BANNER",                     ui::kNone,                              {120,  120,  4185, 705},  kNoTabStop},
}};
// clang-format on

} // namespace zelvaran::passphrase
