// Pictures scaled to their box by the program itself, so that every platform shows the same
// pixels: the system's stretching differs between Windows and Wine, and a bitmap control does
// not scale at all on Windows. Pure: packed 0x00RRGGBB pixels in, the same out.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace zelvaran::ui {

// Weighted sums of a pixel's three channels, and their rounded mean.
struct ChannelSums {
    std::uint64_t Sum[3] = {};
    void Add(std::uint32_t pixel, std::uint64_t weight) noexcept {
        for (int channel = 0; channel < 3; ++channel) {
            Sum[channel] += weight * ((pixel >> (8 * channel)) & 0xFFu);
        }
    }
    [[nodiscard]] std::uint32_t Mean(std::uint64_t totalWeight) const noexcept {
        std::uint32_t pixel = 0;
        for (int channel = 0; channel < 3; ++channel) {
            pixel |= static_cast<std::uint32_t>((Sum[channel] + totalWeight / 2) / totalWeight)
                     << (8 * channel);
        }
        return pixel;
    }
};

// Resamples one line of `from` pixels to `to` pixels. Enlarging, each new pixel blends the two
// old ones nearest its centre (linear); shrinking, it is the mean of the old ones under it, each
// weighed by how much of it lies there (area). Positions count in whole fractions of a pixel,
// so the weights are whole numbers and every platform gets the same pixels.
inline void ScaleLine(const std::uint32_t* source, std::size_t sourceStep, std::size_t from,
                      std::uint32_t* target, std::size_t targetStep, std::size_t to) noexcept {
    for (std::size_t i = 0; i < to; ++i) {
        ChannelSums sums;
        if (to >= from) {
            // The centre of new pixel i lies at ((2i + 1) from - to) / 2to in old pixels.
            const std::int64_t at =
                static_cast<std::int64_t>((2 * i + 1) * from) - static_cast<std::int64_t>(to);
            const std::uint64_t steps = 2 * to;
            const std::uint64_t place = at > 0 ? static_cast<std::uint64_t>(at) : 0;
            const std::uint64_t k = place / steps;
            const std::uint64_t next = std::min<std::uint64_t>(k + 1, from - 1);
            sums.Add(source[k * sourceStep], steps - place % steps);
            sums.Add(source[next * sourceStep], place % steps);
            target[i * targetStep] = sums.Mean(steps);
            continue;
        }
        // New pixel i covers [i from, (i + 1) from) in steps of 1/to of an old pixel.
        const std::uint64_t begin = i * from;
        const std::uint64_t end = (i + 1) * from;
        for (std::uint64_t k = begin / to; k * to < end; ++k) {
            sums.Add(source[k * sourceStep], std::min(end, (k + 1) * to) - std::max(begin, k * to));
        }
        target[i * targetStep] = sums.Mean(from);
    }
}

// A picture of width x height pixels, rows top down, at boxWidth x boxHeight. Empty when either
// size is empty or the pixels do not make up the picture.
[[nodiscard]] inline std::vector<std::uint32_t>
ScalePicture(const std::vector<std::uint32_t>& pixels, std::size_t width, std::size_t height,
             std::size_t boxWidth, std::size_t boxHeight) {
    if (width == 0 || height == 0 || boxWidth == 0 || boxHeight == 0 ||
        pixels.size() != width * height) {
        return {};
    }
    if (boxWidth == width && boxHeight == height) {
        return pixels; // at 96 DPI: nothing to compute
    }
    std::vector<std::uint32_t> wide(boxWidth * height);
    for (std::size_t y = 0; y < height; ++y) {
        ScaleLine(&pixels[y * width], 1, width, &wide[y * boxWidth], 1, boxWidth);
    }
    std::vector<std::uint32_t> scaled(boxWidth * boxHeight);
    for (std::size_t x = 0; x < boxWidth; ++x) {
        ScaleLine(&wide[x], boxWidth, height, &scaled[x], boxWidth, boxHeight);
    }
    return scaled;
}

} // namespace zelvaran::ui
