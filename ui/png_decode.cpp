#include "ui/png_decode.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <string_view>

#include <zlib.h>

namespace zelvaran::ui {
namespace {

// Larger than any picture of the program; keeps a damaged header from asking for gigabytes.
constexpr std::uint32_t kMaxSide = 4096;
constexpr std::size_t kChannels = 3;
// zlib counts in 32-bit units on Windows; the largest picture allowed needs far less.
constexpr std::size_t kMaxZlibSize = 0x7FFFFFFF;

std::uint32_t BigEndian32(std::span<const std::uint8_t> at) {
    return static_cast<std::uint32_t>(at[0]) << 24 | static_cast<std::uint32_t>(at[1]) << 16 |
           static_cast<std::uint32_t>(at[2]) << 8 | at[3];
}

int Paeth(int a, int b, int c) {
    const int p = a + b - c;
    const int pa = std::abs(p - a);
    const int pb = std::abs(p - b);
    const int pc = std::abs(p - c);
    return pa <= pb && pa <= pc ? a : pb <= pc ? b : c;
}

// Undoes each row's filter in place; `raw` holds rows of a filter byte and `stride` bytes.
bool Unfilter(std::vector<std::uint8_t>& raw, std::size_t stride, std::size_t height) {
    for (std::size_t y = 0; y < height; ++y) {
        std::uint8_t* row = &raw[y * (stride + 1) + 1];
        const std::uint8_t* above = y == 0 ? nullptr : row - (stride + 1);
        const int kind = row[-1];
        if (kind > 4) {
            return false;
        }
        for (std::size_t i = 0; i < stride; ++i) {
            const int a = i >= kChannels ? row[i - kChannels] : 0;
            const int b = above != nullptr ? above[i] : 0;
            const int c = above != nullptr && i >= kChannels ? above[i - kChannels] : 0;
            const int predicted = kind == 1   ? a
                                  : kind == 2 ? b
                                  : kind == 3 ? (a + b) / 2
                                  : kind == 4 ? Paeth(a, b, c)
                                              : 0;
            row[i] = static_cast<std::uint8_t>(row[i] + predicted);
        }
    }
    return true;
}

// The pixel rows, a zlib stream that must inflate to exactly `size` bytes, by zlib itself: it
// checks the stream's own checksum, and a stream that would give more fails for want of room.
std::optional<std::vector<std::uint8_t>> Inflate(std::span<const std::uint8_t> stream,
                                                 std::size_t size) {
    // Deflate packs at most 1032 bytes into one; a shorter stream is damaged, and this keeps a
    // damaged header from costing a large allocation.
    if (stream.size() > kMaxZlibSize || size / 1032 > stream.size()) {
        return std::nullopt;
    }
    std::vector<std::uint8_t> out(size);
    uLongf produced = static_cast<uLongf>(size);
    if (uncompress(out.data(), &produced, stream.data(), static_cast<uLong>(stream.size())) !=
            Z_OK ||
        produced != size) {
        return std::nullopt;
    }
    return out;
}

} // namespace

std::optional<DecodedPicture> DecodePng(std::span<const std::uint8_t> file) {
    static constexpr std::array<std::uint8_t, 8> kSignature{0x89, 'P',  'N',  'G',
                                                            '\r', '\n', 0x1A, '\n'};
    if (file.size() < kSignature.size() ||
        !std::equal(kSignature.begin(), kSignature.end(), file.begin())) {
        return std::nullopt;
    }
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::vector<std::uint8_t> compressed;
    for (std::size_t pos = kSignature.size();;) {
        // Length, type, body, CRC. The CRC is not checked: zlib's own checksum covers the pixels.
        if (file.size() - pos < 12 || BigEndian32(file.subspan(pos)) > file.size() - pos - 12) {
            return std::nullopt;
        }
        const auto body = file.subspan(pos + 8, BigEndian32(file.subspan(pos)));
        const std::string_view type(reinterpret_cast<const char*>(&file[pos + 4]), 4);
        const bool first = pos == kSignature.size();
        pos += 12 + body.size();
        if (first != (type == "IHDR")) {
            return std::nullopt;
        }
        if (type == "IHDR") {
            // 8 bits a channel, colour type 2 (RGB), deflate, standard filters, no interlace.
            static constexpr std::array<std::uint8_t, 5> kForm{8, 2, 0, 0, 0};
            if (body.size() != 13 || !std::equal(kForm.begin(), kForm.end(), body.begin() + 8)) {
                return std::nullopt;
            }
            width = BigEndian32(body);
            height = BigEndian32(body.subspan(4));
            if (width == 0 || height == 0 || width > kMaxSide || height > kMaxSide) {
                return std::nullopt;
            }
        } else if (type == "IDAT") {
            compressed.insert(compressed.end(), body.begin(), body.end());
        } else if (type == "IEND") {
            break;
        }
    }
    const std::size_t stride = width * kChannels;
    auto raw = Inflate(compressed, height * (stride + 1));
    if (!raw || !Unfilter(*raw, stride, height)) {
        return std::nullopt;
    }
    DecodedPicture picture{static_cast<int>(width), static_cast<int>(height), {}};
    picture.Bgrx.resize(static_cast<std::size_t>(width) * height * 4);
    std::uint8_t* out = picture.Bgrx.data();
    for (std::size_t y = 0; y < height; ++y) {
        const std::uint8_t* in = &(*raw)[y * (stride + 1) + 1];
        for (std::size_t x = 0; x < width; ++x, in += kChannels, out += 4) {
            out[0] = in[2];
            out[1] = in[1];
            out[2] = in[0];
            out[3] = 0;
        }
    }
    return picture;
}

} // namespace zelvaran::ui
