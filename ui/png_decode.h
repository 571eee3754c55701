// The program's pictures are stored as PNG files, a tenth of their size as bitmaps. Windows
// reads PNG only through COM (WIC); this small reader of the one form the pictures take, with
// zlib (linked statically) for the pixel data, keeps that, and its DLLs, out of the start-up.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace zelvaran::ui {

// Pixels top row first, four bytes each (blue, green, red, 0): a top-down 32-bit Windows DIB.
struct DecodedPicture {
    int Width = 0;
    int Height = 0;
    std::vector<std::uint8_t> Bgrx;
};

// An 8-bit RGB PNG, not interlaced, any row filters. Anything else, or a damaged file (chunks
// cut short, a bad zlib stream or checksum, too few or too many pixel bytes) gives nothing.
// May throw std::bad_alloc.
[[nodiscard]] std::optional<DecodedPicture> DecodePng(std::span<const std::uint8_t> file);

} // namespace zelvaran::ui
