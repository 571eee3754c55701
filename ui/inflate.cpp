// Inflate (zlib format) for the program's own pictures: canonical Huffman codes decoded a bit
// at a time. Every read is bounds-checked, so damaged input fails instead of running past its
// end or the output's.
#include "ui/png_decode.h"

#include <array>

namespace zelvaran::ui {
namespace {

class BitReader {
public:
    explicit BitReader(std::span<const std::uint8_t> in) : in_(in) {}

    // The next n (<= 16) bits, least significant first; -1 past the end of the input.
    int Bits(int n) {
        while (count_ < n) {
            if (pos_ == in_.size()) {
                return -1;
            }
            buffer_ |= static_cast<std::uint32_t>(in_[pos_++]) << count_;
            count_ += 8;
        }
        const int value = static_cast<int>(buffer_ & ((1u << n) - 1));
        buffer_ >>= n;
        count_ -= n;
        return value;
    }
    // Drops the rest of the current byte; only whole bytes follow.
    void Align() {
        buffer_ = 0;
        count_ = 0;
    }
    [[nodiscard]] std::span<const std::uint8_t> Rest() const { return in_.subspan(pos_); }
    void Skip(std::size_t n) { pos_ += n; }

private:
    std::span<const std::uint8_t> in_;
    std::size_t pos_ = 0;
    std::uint32_t buffer_ = 0;
    int count_ = 0;
};

constexpr int kMaxBits = 15;

struct Huffman {
    std::array<std::uint16_t, kMaxBits + 1> Count{};
    std::array<std::uint16_t, 288> Symbol{};

    // False for an over-subscribed set of lengths; an incomplete one fails only if its unused
    // codes turn up.
    bool Build(const std::uint8_t* lengths, int n) {
        Count.fill(0);
        for (int s = 0; s < n; ++s) {
            ++Count[lengths[s]];
        }
        int left = 1;
        for (int len = 1; len <= kMaxBits; ++len) {
            left = 2 * left - Count[len];
            if (left < 0) {
                return false;
            }
        }
        std::array<std::uint16_t, kMaxBits + 1> offset{};
        for (int len = 1; len < kMaxBits; ++len) {
            offset[len + 1] = static_cast<std::uint16_t>(offset[len] + Count[len]);
        }
        for (int s = 0; s < n; ++s) {
            if (lengths[s] != 0) {
                Symbol[offset[lengths[s]]++] = static_cast<std::uint16_t>(s);
            }
        }
        return true;
    }

    // The next symbol; -1 at the end of the input or on an unused code.
    int Decode(BitReader& in) const {
        int code = 0;
        int first = 0;
        int index = 0;
        for (int len = 1; len <= kMaxBits; ++len) {
            const int bit = in.Bits(1);
            if (bit < 0) {
                return -1;
            }
            code |= bit;
            const int count = Count[len];
            if (code - first < count) {
                return Symbol[index + code - first];
            }
            index += count;
            first = (first + count) << 1;
            code <<= 1;
        }
        return -1;
    }
};

constexpr std::array<std::uint16_t, 29> kLengthBase{3,  4,  5,  6,   7,   8,   9,   10,  11, 13,
                                                    15, 17, 19, 23,  27,  31,  35,  43,  51, 59,
                                                    67, 83, 99, 115, 131, 163, 195, 227, 258};
constexpr std::array<std::uint8_t, 29> kLengthExtra{0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                                    2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
constexpr std::array<std::uint16_t, 30> kDistanceBase{
    1,   2,   3,   4,   5,   7,    9,    13,   17,   25,   33,   49,   65,    97,    129,
    193, 257, 385, 513, 769, 1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
constexpr std::array<std::uint8_t, 30> kDistanceExtra{0, 0, 0,  0,  1,  1,  2,  2,  3,  3,
                                                      4, 4, 5,  5,  6,  6,  7,  7,  8,  8,
                                                      9, 9, 10, 10, 11, 11, 12, 12, 13, 13};

bool InflateCodes(BitReader& in, const Huffman& lengths, const Huffman& distances,
                  std::vector<std::uint8_t>& out, std::size_t size) {
    for (;;) {
        const int symbol = lengths.Decode(in);
        if (symbol < 0) {
            return false;
        }
        if (symbol < 256) {
            if (out.size() == size) {
                return false;
            }
            out.push_back(static_cast<std::uint8_t>(symbol));
            continue;
        }
        if (symbol == 256) {
            return true;
        }
        // A length code and its extra bits, then a distance code and its extra bits.
        const std::size_t l = static_cast<std::size_t>(symbol - 257);
        if (l >= kLengthBase.size()) {
            return false;
        }
        const int lengthExtra = in.Bits(kLengthExtra[l]);
        const int d = distances.Decode(in);
        if (lengthExtra < 0 || d < 0 || d >= static_cast<int>(kDistanceBase.size())) {
            return false;
        }
        const int distanceExtra = in.Bits(kDistanceExtra[static_cast<std::size_t>(d)]);
        if (distanceExtra < 0) {
            return false;
        }
        const std::size_t length = kLengthBase[l] + static_cast<std::size_t>(lengthExtra);
        const std::size_t distance =
            kDistanceBase[static_cast<std::size_t>(d)] + static_cast<std::size_t>(distanceExtra);
        if (distance > out.size() || length > size - out.size()) {
            return false;
        }
        for (std::size_t i = 0; i < length; ++i) {
            out.push_back(out[out.size() - distance]);
        }
    }
}

bool FixedCodes(Huffman& lengths, Huffman& distances) {
    std::array<std::uint8_t, 288> bits{};
    for (std::size_t s = 0; s < bits.size(); ++s) {
        bits[s] = s < 144 ? 8 : s < 256 ? 9 : s < 280 ? 7 : 8;
    }
    std::array<std::uint8_t, 30> five{};
    five.fill(5);
    return lengths.Build(bits.data(), 288) && distances.Build(five.data(), 30);
}

bool DynamicCodes(BitReader& in, Huffman& lengths, Huffman& distances) {
    const int nLengths = in.Bits(5) + 257;
    const int nDistances = in.Bits(5) + 1;
    const int nCodeLengths = in.Bits(4) + 4;
    if (nLengths < 257 || nLengths > 286 || nDistances < 1 || nDistances > 30 || nCodeLengths < 4) {
        return false;
    }
    static constexpr std::array<std::uint8_t, 19> kOrder{16, 17, 18, 0, 8,  7, 9,  6, 10, 5,
                                                         11, 4,  12, 3, 13, 2, 14, 1, 15};
    std::array<std::uint8_t, 19> codeLengths{};
    for (int i = 0; i < nCodeLengths; ++i) {
        const int bits = in.Bits(3);
        if (bits < 0) {
            return false;
        }
        codeLengths[kOrder[static_cast<std::size_t>(i)]] = static_cast<std::uint8_t>(bits);
    }
    Huffman codeCode;
    if (!codeCode.Build(codeLengths.data(), 19)) {
        return false;
    }
    std::array<std::uint8_t, 286 + 30> bits{};
    const int total = nLengths + nDistances;
    for (int i = 0; i < total;) {
        const int symbol = codeCode.Decode(in);
        if (symbol < 0) {
            return false;
        }
        if (symbol < 16) {
            bits[static_cast<std::size_t>(i++)] = static_cast<std::uint8_t>(symbol);
            continue;
        }
        // 16 repeats the previous length 3-6 times, 17 and 18 give 3-10 and 11-138 zeros.
        if (symbol == 16 && i == 0) {
            return false;
        }
        const std::uint8_t value = symbol == 16 ? bits[static_cast<std::size_t>(i - 1)] : 0;
        const int extra = in.Bits(symbol == 16 ? 2 : symbol == 17 ? 3 : 7);
        int repeat = extra + (symbol == 18 ? 11 : 3);
        if (extra < 0 || i + repeat > total) {
            return false; // cut short, or more lengths than declared
        }
        while (repeat-- > 0) {
            bits[static_cast<std::size_t>(i++)] = value;
        }
    }
    return bits[256] != 0 && lengths.Build(bits.data(), nLengths) &&
           distances.Build(bits.data() + nLengths, nDistances);
}

std::uint32_t Adler32(std::span<const std::uint8_t> data) {
    std::uint32_t a = 1;
    std::uint32_t b = 0;
    for (const std::uint8_t byte : data) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    return (b << 16) | a;
}

} // namespace

std::optional<std::vector<std::uint8_t>> Inflate(std::span<const std::uint8_t> stream,
                                                 std::size_t size) {
    // Two header bytes: deflate, a window of at most 32 KiB, no preset dictionary.
    if (stream.size() < 6 || (stream[0] & 0x0F) != 8 || (stream[0] >> 4) > 7 ||
        (stream[1] & 0x20) != 0 || ((stream[0] << 8) | stream[1]) % 31 != 0) {
        return std::nullopt;
    }
    BitReader in(stream.subspan(2));
    std::vector<std::uint8_t> out;
    out.reserve(size);
    Huffman lengths;
    Huffman distances;
    for (int last = 0; last == 0;) {
        last = in.Bits(1);
        const int type = in.Bits(2);
        bool ok = false;
        if (type == 0) {
            in.Align();
            const auto rest = in.Rest();
            if (rest.size() < 4) {
                return std::nullopt;
            }
            const std::size_t n = rest[0] | (rest[1] << 8);
            if ((n ^ (rest[2] | (rest[3] << 8))) != 0xFFFF || n > rest.size() - 4 ||
                n > size - out.size()) {
                return std::nullopt;
            }
            out.insert(out.end(), rest.begin() + 4, rest.begin() + 4 + static_cast<long>(n));
            in.Skip(4 + n);
            ok = true;
        } else if (type == 1) {
            ok = FixedCodes(lengths, distances) && InflateCodes(in, lengths, distances, out, size);
        } else if (type == 2) {
            ok = DynamicCodes(in, lengths, distances) &&
                 InflateCodes(in, lengths, distances, out, size);
        }
        if (!ok || last < 0) {
            return std::nullopt;
        }
    }
    in.Align();
    const auto check = in.Rest();
    if (out.size() != size || check.size() != 4 ||
        Adler32(out) != (static_cast<std::uint32_t>(check[0]) << 24 |
                         static_cast<std::uint32_t>(check[1]) << 16 |
                         static_cast<std::uint32_t>(check[2]) << 8 | check[3])) {
        return std::nullopt;
    }
    return out;
}

} // namespace zelvaran::ui
