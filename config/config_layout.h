// The configuration dialog's controls, as data: twips relative to their container.
#pragma once

#include <array>

#include "ui/layout.h"

namespace zelvaran::config {

enum ControlId : int {
    kImage1 = 3001,
    kConfig,
    kChTop,
    kInicio,
};

inline constexpr int kClientWidthTwips = 4455;
inline constexpr int kClientHeightTwips = 1680;

inline constexpr const wchar_t* kCaption = L"Configuracion Security Zelvaran";

using enum ui::ControlKind;
using ui::kNoTabStop;
using ui::kWindow;

// clang-format off
inline constexpr std::array<ui::ControlSpec, 4> kConfigControls{{
    // id      name       kind      container  caption                  state      left  top  width height  tab
    {kImage1,  L"Image1", Picture,  kWindow,   L"BANNER",               ui::kNone, {120,  120, 4185, 705},  kNoTabStop},
    {kConfig,  L"Config", Frame,    kWindow,   L"Configuracion",        ui::kNone, {120,  840, 4215, 735},  0},
    {kChTop,   L"ChTop",  CheckBox, kConfig,   L"Siempre al Frente",    ui::kNone, {240,  360, 1575, 195},  1},
    {kInicio,  L"Inicio", CheckBox, kConfig,   L"Iniciar con Windows",  ui::kNone, {2160, 360, 1815, 195},  2},
}};
// clang-format on

} // namespace zelvaran::config
