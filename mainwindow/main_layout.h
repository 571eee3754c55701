// The main window as data: every control with its container, caption, state, twips rectangle and
// tab index, and the menu bar. The window is built from these tables.
#pragma once

#include <array>
#include <string_view>

#include "generator/generator.h"
#include "ui/layout.h"

namespace zelvaran::mainwindow {

enum ControlId : int {
    kTipos = 1001,
    kChkLCaseLetters,
    kChkNumbers,
    kLabel1,
    kTxtLength,
    kResultado,
    kTxtPassword,
    kChkUCaseLetters,
    kOp,
    kChkSpecial,
    kTxtSpecial,
    kChkStyle,
    kTxtStyle,
    kCmdGennerate,
    kCut,
    kCutxit,
    kCopy,
    kImage1,
};

enum MenuId : int {
    kMenuSalir = 2001,
    kMenuAyuda,
    kMenuAbout,
};

inline constexpr int kClientWidthTwips = 4455;
inline constexpr int kClientHeightTwips = 4440;
inline constexpr int kLengthMaxChars = 4;

// The option boxes open with the core's initial texts.
inline constexpr std::wstring_view kInitialSymbolsText = kInitialSymbolsIn<wchar_t>;
inline constexpr std::wstring_view kInitialFormatText = kInitialFormatIn<wchar_t>;
inline constexpr std::wstring_view kInitialLengthText = kInitialLengthIn<wchar_t>;

using enum ui::ControlKind;
using ui::kNoTabStop;
using ui::kWindow;

// clang-format off
inline constexpr std::array<ui::ControlSpec, 18> kMainControls{{
    // id               name                kind      container   caption                      state                          left  top   width height  tab
    {kTipos,            L"Tipos",           Frame,    kWindow,    L"Tipos de Caracteres",      ui::kNone,                     {120,  720,  1935, 2055}, 0},
    {kChkLCaseLetters,  L"chkLCaseLetters", CheckBox, kTipos,     L"Usar Min\u00FAsculas",     ui::kInitiallyChecked,         {120,  1080, 1575, 195},  1},
    {kChkNumbers,       L"chkNumbers",      CheckBox, kTipos,     L"Usar N\u00FAmeros",        ui::kInitiallyChecked,         {120,  1560, 1335, 195},  2},
    {kLabel1,           L"Label1",          Label,    kTipos,     L"Longitud:",                ui::kCentred,                  {120,  360,  1695, 255},  3},
    {kTxtLength,        L"txtLength",       TextBox,  kTipos,     kInitialLengthText,          ui::kCentred,                  {240,  600,  1455, 285},  4},
    {kResultado,        L"Resultado",       Frame,    kWindow,    L"Texto Generado",           ui::kNone,                     {120,  2760, 4215, 1215}, 5},
    {kTxtPassword,      L"txtPassword",     TextBox,  kResultado, L"",                         ui::kDisabled | ui::kCentred,  {120,  360,  3975, 285},  6},
    {kChkUCaseLetters,  L"chkUCaseLetters", CheckBox, kTipos,     L"Usar Mayusculas",          ui::kInitiallyChecked,         {120,  1320, 1575, 195},  7},
    {kOp,               L"Op",              Frame,    kWindow,    L"Opciones",                 ui::kNone,                     {2160, 720,  2175, 2055}, 8},
    {kChkSpecial,       L"chkSpecial",      CheckBox, kOp,        L"Usar Simbolos",            ui::kNone,                     {120,  360,  1935, 195},  9},
    {kTxtSpecial,       L"txtSpecial",      TextBox,  kOp,        kInitialSymbolsText,         ui::kDisabled | ui::kCentred,  {120,  720,  1935, 300},  10},
    {kChkStyle,         L"chkStyle",        CheckBox, kOp,        L"Formato Especial",         ui::kNone,                     {120,  1200, 1935, 195},  11},
    {kTxtStyle,         L"txtStyle",        TextBox,  kOp,        kInitialFormatText,          ui::kDisabled | ui::kCentred,  {120,  1560, 1935, 300},  12},
    {kCmdGennerate,     L"cmdGennerate",    Button,   kResultado, L"Generar",                  ui::kDefaultButton,            {120,  720,  3975, 375},  13},
    {kCut,              L"cut",             Button,   kWindow,    L"Cortar",                   ui::kDisabled,                 {1560, 4080, 1335, 255},  14},
    {kCutxit,           L"cutxit",          Button,   kWindow,    L"Cortar y Salir",           ui::kDisabled,                 {3000, 4080, 1335, 255},  15},
    {kCopy,             L"Copy",            Button,   kWindow,    L"Copiar",                   ui::kDisabled,                 {120,  4080, 1335, 255},  16},
    {kImage1,           L"Image1",          Picture,  kWindow,    L"BANNER",                   ui::kNone,                     {120,  0,    4185, 705},  kNoTabStop},
}};
// clang-format on

// The three boxes that show no label of their own, named for screen readers.
inline constexpr std::array<ui::HiddenLabel, 3> kMainHiddenLabels{{
    {kTxtSpecial, L"S\u00EDmbolos:"},
    {kTxtStyle, L"Plantilla del formato especial:"},
    {kTxtPassword, L"Texto generado:"},
}};

// The menu bar: Parent 0 is the bar itself; an item with children opens a submenu.
struct MenuSpec {
    int Id;
    std::wstring_view Name;
    std::wstring_view Caption;
    int Parent;
};

inline constexpr int kMenuInfo = 2100; // "Informacion": opens its submenu, runs nothing

inline constexpr std::array<MenuSpec, 4> kMainMenu{{
    {kMenuSalir, L"salir", L"Salir", 0},
    {kMenuInfo, L"info", L"Informacion", 0},
    {kMenuAyuda, L"Ayuda", L"Temas de Ayuda", kMenuInfo},
    {kMenuAbout, L"mnu_about", L"Acerca", kMenuInfo},
}};

} // namespace zelvaran::mainwindow
