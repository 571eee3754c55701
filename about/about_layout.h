// The About dialog as data: its controls with captions, twips rectangles and tab order, its client
// size and the tooltips of the two web buttons. The dialog is built from these tables.
#pragma once

#include <array>
#include <string_view>

#include "ui/layout.h"

namespace zelvaran::about {

enum ControlId : int {
    kVersion = 3001,
    kCommandWeb,
    kWebcp,
    kCerrar,
};

inline constexpr int kClientWidthTwips = 4500;
inline constexpr int kClientHeightTwips = 5010;

using enum ui::ControlKind;
using ui::kWindow;

// The version line's caption is written by the load step; it is drawn over the picture.
// clang-format off
inline constexpr std::array<ui::ControlSpec, 4> kAboutControls{{
    // id          name           kind    container caption                state                              left  top   width height  tab
    {kVersion,     L"Version",    Label,  kWindow,  L"",                   ui::kCentred | ui::kTransparent,   {360,  4320, 1215, 255},  0},
    {kCommandWeb,  L"CommandWeb", Button, kWindow,  L"Web del Programa",   ui::kNone,                         {2640, 4200, 1575, 255},  1},
    {kWebcp,       L"webcp",      Button, kWindow,  L"Web de OVRA",        ui::kNone,                         {2640, 4560, 1575, 255},  2},
    {kCerrar,      L"cerrar",     Button, kWindow,  L"X",                  ui::kNone,                         {4080, 120,  255,  255},  3},
}};
// clang-format on

// What screen readers call the close button, which shows only "X".
inline constexpr const wchar_t* kCerrarName = L"Cerrar";

struct ToolTipSpec {
    int Id;
    const wchar_t* Text; // the tooltip copies it when the tool is added
};

inline constexpr std::array<ToolTipSpec, 2> kAboutToolTips{{
    {kCommandWeb, L"Abre la p\u00E1gina de Security Zelvaran en el navegador"},
    {kWebcp, L"Abre la p\u00E1gina de OVRA en el navegador"},
}};

} // namespace zelvaran::about
