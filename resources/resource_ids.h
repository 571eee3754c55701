// The ids of the icons and pictures that app/zelvaran.rc packs into the exe.
#pragma once

// Icons: the lowest id is the exe's own icon.
#define IDI_ZELVARAN 1
#define IDI_TRAY 2
#define IDI_CONFIG 3

// Bitmaps are named, so layout tables can refer to them by caption.
#define BMP_BANNER L"BANNER"
#define BMP_ABOUT L"ABOUTBG"
