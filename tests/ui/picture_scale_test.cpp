// The program's own picture scaling: the same pixels everywhere, blended when enlarged and averaged
// when shrunk.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "ui/picture_scale.h"

namespace zelvaran::ui {
namespace {

TEST(ScalePicture, BlendsEnlargingAndAveragesShrinking) {
    struct Case {
        std::vector<std::uint32_t> Pixels;
        std::size_t Width, Height, BoxWidth, BoxHeight;
        std::vector<std::uint32_t> Want;
    };
    const Case cases[] = {
        {{0x102030, 0xA0B0C0}, 2, 1, 2, 1, {0x102030, 0xA0B0C0}}, // same size: the same pixels
        {{0x000000, 0xFFFFFF}, 2, 1, 1, 1, {0x808080}},           // halved: the mean, rounded
        {{0x000000, 0xC86432}, 2, 1, 3, 1, {0x000000, 0x643219, 0xC86432}}, // 1.5 times: one blend
        {{0x0000FF}, 1, 1, 2, 3, std::vector<std::uint32_t>(6, 0x0000FF)},  // one colour stays
        {{0x000000, 0xFFFFFF}, 2, 1, 4, 1, {0x000000, 0x404040, 0xBFBFBF, 0xFFFFFF}}, // twice:
                                                                                      // blended
        {{0x000000, 0x000000, 0x000000, 0x0000F0}, 2, 2, 1, 1, {0x00003C}}, // both ways at once
        {{0x000000, 0xFFFFFF, 0x000000}, 3, 1, 2, 1, {0x555555, 0x555555}}, // thirds shared out
        {{1, 2, 3}, 2, 1, 2, 1, {}},                                        // pixels do not fit
        {{0x123456}, 1, 1, 0, 5, {}},                                       // an empty box
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ScalePicture(c.Pixels, c.Width, c.Height, c.BoxWidth, c.BoxHeight), c.Want)
            << c.Width << "x" << c.Height << " to " << c.BoxWidth << "x" << c.BoxHeight;
    }
}

} // namespace
} // namespace zelvaran::ui
