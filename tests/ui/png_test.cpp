// The pictures' PNG decoder: each row filter and each kind of deflate block against pixels
// computed here, and damaged files refused rather than read past their end.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "ui/png_decode.h"

namespace zelvaran::ui {
namespace {

struct Sample {
    const char* Name;
    int Width;
    int Height;
    const char* Hex; // made by Python's zlib from the pixels of Pixel()
};

// Blue, green, red, 0 at (x, y).
std::vector<std::uint8_t> Pixel(int x, int y) {
    return {static_cast<std::uint8_t>(x * y * 11 + 5), static_cast<std::uint8_t>(y * 50 + x * 3),
            static_cast<std::uint8_t>(x * 40 + y * 7), 0};
}

const Sample kSamples[] = {
    {"stored blocks, every row filter", 3, 5,
     "89504e470d0a1a0a0000000d49484452000000030000000508020000000f13c1f50000003d49444154780101"
     "3200cdff000000052803055006050107320528030b28030b0207320007320b073216030e6403181b16181b1c"
     "0407320007030b0703165784038c8c0ad6430000000049454e44ae426082"},
    {"fixed codes, every row filter", 3, 5,
     "89504e470d0a1a0a0000000d49484452000000030000000508020000000f13c1f5000000354944415478da63"
     "606060d560660d606365643702b2b8818889dd8881dd889bdd488c992f8559425a4c425a860524c6cccdce2c"
     "06005784038c0206c7340000000049454e44ae426082"},
    {"dynamic codes in two IDAT chunks", 16, 16,
     "89504e470d0a1a0a0000000d494844520000001000000010080200000090916836000000324944415478da8d"
     "91210fc320108549e8c292f9f939c414a6bebebe7e1e8f3f8fc7f3afeaebf70b767dd911da6e0dc997976bc2"
     "c73bd2ca2c52a200000096494441544ea98bd5aa9dce3865f4ad9d22dc1ba98547c15633a032ef8467c5b4fd"
     "fc72147aa307640d599945704518b6f86a4e9cff1a46ac340a24c3b213f8506f576112bc0c331aa6f3869740"
     "c8b7d1f9a7e021781ce20cc888bc6e05776ce0d3c1ae0d012b855a203410048240b8954044e69337cc6888b8"
     "3b026e887b013f28414878a5c740c874d2b060a5ccaf4443460367fe0063de4dc93516a17d0000000049454e"
     "44ae426082"},
};

std::vector<std::uint8_t> Bytes(const char* hex) {
    std::vector<std::uint8_t> out;
    for (const char* p = hex; p[0] != '\0' && p[1] != '\0'; p += 2) {
        out.push_back(static_cast<std::uint8_t>(std::stoi(std::string(p, 2), nullptr, 16)));
    }
    return out;
}

TEST(PngDecode, EveryFilterAndBlockKindGivesThePixels) {
    for (const Sample& sample : kSamples) {
        SCOPED_TRACE(sample.Name);
        const auto picture = DecodePng(Bytes(sample.Hex));
        ASSERT_TRUE(picture.has_value());
        EXPECT_EQ(picture->Width, sample.Width);
        EXPECT_EQ(picture->Height, sample.Height);
        std::vector<std::uint8_t> expected;
        for (int y = 0; y < sample.Height; ++y) {
            for (int x = 0; x < sample.Width; ++x) {
                const auto p = Pixel(x, y);
                expected.insert(expected.end(), p.begin(), p.end());
            }
        }
        EXPECT_EQ(picture->Bgrx, expected);
    }
}

TEST(PngDecode, DamagedFilesGiveNothing) {
    for (const Sample& sample : kSamples) {
        SCOPED_TRACE(sample.Name);
        const std::vector<std::uint8_t> good = Bytes(sample.Hex);
        // Signature, IHDR (25 bytes), then the first IDAT's length, type and zlib data.
        const std::size_t dataEnd = 41 + (std::size_t{good[35]} << 8 | good[36]);
        for (std::size_t n = 0; n < good.size(); ++n) {
            EXPECT_FALSE(DecodePng({good.data(), n})) << "cut at " << n;
            if (n >= 41 && n < dataEnd) {
                std::vector<std::uint8_t> changed = good;
                changed[n] ^= 0xFF;
                EXPECT_FALSE(DecodePng(changed)) << "changed at " << n;
            }
        }
        // The header's fixed fields: depth, colour type (RGBA), interlacing, and a zero width.
        for (const std::size_t field : {24u, 25u, 28u, 19u}) {
            std::vector<std::uint8_t> other = good;
            other[field] = field == 19 ? 0 : other[field] + 4;
            EXPECT_FALSE(DecodePng(other)) << "header byte " << field;
        }
    }
}

} // namespace
} // namespace zelvaran::ui
