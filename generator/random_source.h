#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace zelvaran {

// Uniform whole numbers below a fixed n, by rejection: a value made of as few random bytes as n
// needs (one up to 256, two up to 65536, else four) is kept only when it lies below the largest
// multiple of n that many bytes can hold, and then its remainder is the draw. Every remainder
// then has exactly the same number of values behind it, so no result is likelier than another.
class UniformBelow {
public:
    constexpr explicit UniformBelow(std::uint32_t n) noexcept
        : n_(n), width_(n <= 0x100u     ? 1u
                        : n <= 0x10000u ? 2u
                                        : 4u),
          limit_((std::uint64_t{1} << (8 * width_)) -
                 (std::uint64_t{1} << (8 * width_)) % (n == 0 ? 1 : n)),
          reciprocal_(n < 2 ? 0 : ~std::uint64_t{0} / n + 1) {}

    // Bytes in each value read, and the values kept: those below Limit.
    [[nodiscard]] constexpr unsigned Width() const noexcept { return width_; }
    [[nodiscard]] constexpr std::uint64_t Limit() const noexcept { return limit_; }
    // Bytes one draw reads on average, rejected values included.
    [[nodiscard]] constexpr double ExpectedBytes() const noexcept {
        return n_ <= 1 ? 0.0
                       : static_cast<double>(width_) *
                             static_cast<double>(std::uint64_t{1} << (8 * width_)) /
                             static_cast<double>(limit_);
    }

    // 0 <= result < n; a class of one needs no randomness and reads nothing. A source that has
    // failed hands out 0, which is always kept, so the loop ends; its result is discarded.
    template <class Source> [[nodiscard]] std::uint32_t operator()(Source& random) const noexcept {
        if (n_ <= 1) {
            return 0;
        }
        for (;;) {
            const std::uint32_t value = random.NextBytes(width_);
            if (value < limit_ || random.Failed()) {
                return Remainder(value);
            }
        }
    }

private:
    // value mod n without a division, which would cost more than the rest of a draw: the low
    // 64 bits of value * ceil(2^64 / n), times n, carry the remainder in their top 64 bits
    // (exact for every 32-bit value and n; Lemire, Kaser and Kurz, "Faster remainder by direct
    // computation", 2019).
    [[nodiscard]] constexpr std::uint32_t Remainder(std::uint32_t value) const noexcept {
        __extension__ using Wide = unsigned __int128;
        const std::uint64_t fraction = reciprocal_ * value;
        return static_cast<std::uint32_t>((static_cast<Wide>(fraction) * n_) >> 64);
    }

    std::uint32_t n_;
    unsigned width_;
    std::uint64_t limit_;
    std::uint64_t reciprocal_;
};

// A source of fresh random bytes. Reseed runs at the start of every Generate command; the
// generators draw through Below (or UniformBelow), which read values with NextBytes.
class RandomSource {
public:
    virtual ~RandomSource() = default;
    virtual void Reseed() noexcept = 0;
    // The next `width` bytes (1, 2 or 4) as a little-endian number, wiped from the source as
    // they are handed out; 0 once the source has failed.
    [[nodiscard]] virtual std::uint32_t NextBytes(unsigned width) noexcept = 0;
    // True once the source could not produce a value; the run's result must then be discarded.
    [[nodiscard]] virtual bool Failed() const noexcept = 0;

    // A uniform index 0 <= i < n (0 for n <= 1), exact for every n.
    [[nodiscard]] std::uint32_t Below(std::uint32_t n) noexcept { return UniformBelow(n)(*this); }
};

// Fills a buffer from the operating system's cryptographic generator (BCryptGenRandom on
// Windows, getrandom on Linux). Returns false when it could not.
[[nodiscard]] bool FillFromSystem(std::byte* data, std::size_t size) noexcept;

// Bytes from the OS generator, read in blocks so a long password costs few system calls.
class SystemRandomSource final : public RandomSource {
public:
    SystemRandomSource() noexcept = default;
    SystemRandomSource(const SystemRandomSource&) = delete;
    SystemRandomSource& operator=(const SystemRandomSource&) = delete;
    ~SystemRandomSource() override;

    void Reseed() noexcept override;
    [[nodiscard]] std::uint32_t NextBytes(unsigned width) noexcept override;
    [[nodiscard]] bool Failed() const noexcept override { return failed_; }
    // About how many bytes the draws after a reseed will read: before the first draw, makes the
    // first fill about that size, up to the whole block.
    void WillRead(std::size_t bytes) noexcept;

private:
    // Room for the longest password (9999 characters of a pool up to 256, rejections
    // included) in one fill.
    static constexpr std::size_t kBlockBytes = 16384;
    // The first fill after a reseed is small, so a short password costs one small read; each
    // further fill doubles, up to the whole block.
    static constexpr std::size_t kFirstFillBytes = 64;
    [[nodiscard]] bool Refill() noexcept;

    // Unused bytes are block_[used_, kBlockBytes): each fill lands at the end of the block, and
    // covers the few bytes a wider value could not use.
    std::array<std::byte, kBlockBytes> block_{};
    std::size_t used_ = kBlockBytes;
    std::size_t nextFill_ = kFirstFillBytes;
    bool failed_ = false;
};

// Defined here so the generators, which see this final class, draw without a call per value.
inline std::uint32_t SystemRandomSource::NextBytes(unsigned width) noexcept {
    if (failed_) {
        return 0;
    }
    if (kBlockBytes - used_ < width && !Refill()) {
        failed_ = true;
        return 0;
    }
    std::uint32_t value = 0;
    // Each byte is scrubbed as it is used, so once a password has been cut from the read-out box
    // nothing that could rebuild it stays behind here. Volatile stores cost less than a call per
    // value and the compiler may not drop them either.
    volatile std::byte* used = &block_[used_];
    for (unsigned i = 0; i < width; ++i) {
        value |= static_cast<std::uint32_t>(std::to_integer<std::uint8_t>(block_[used_ + i]))
                 << (8 * i);
        used[i] = std::byte{0};
    }
    used_ += width;
    return value;
}

} // namespace zelvaran
