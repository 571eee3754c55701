#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

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
    // The next `width` bytes (1, 2 or 4) as a little-endian number; 0 once the source has failed.
    [[nodiscard]] virtual std::uint32_t NextBytes(unsigned width) noexcept = 0;
    // True once the source could not produce a value; the run's result must then be discarded.
    [[nodiscard]] virtual bool Failed() const noexcept = 0;
    // About how many bytes the draws after a reseed will read, said before the first of them.
    virtual void WillRead(std::size_t /*bytes*/) noexcept {}
    // Wipes every byte handed out since the last wipe. The generators call it before a result
    // leaves them: once a password has gone from the read-out box, nothing that could rebuild
    // it stays behind in the source.
    virtual void WipeHandedOut() noexcept {}

    // A uniform index 0 <= i < n (0 for n <= 1), exact for every n.
    [[nodiscard]] std::uint32_t Below(std::uint32_t n) noexcept { return UniformBelow(n)(*this); }
};

// Calls WipeHandedOut when the scope that drew ends, whichever way it ends.
class HandedOutWipe {
public:
    explicit HandedOutWipe(RandomSource& random) noexcept : random_(random) {}
    HandedOutWipe(const HandedOutWipe&) = delete;
    HandedOutWipe& operator=(const HandedOutWipe&) = delete;
    ~HandedOutWipe() { random_.WipeHandedOut(); }

private:
    RandomSource& random_;
};

// Fills a buffer from the operating system's cryptographic generator (BCryptGenRandom on
// Windows, getrandom on Linux). Returns false when it could not.
[[nodiscard]] bool FillFromSystem(std::byte* data, std::size_t size) noexcept;

// Where a source's blocks come from: the OS generator, or a test's or the fuzzer's script.
struct ByteSupply {
    bool (*Fill)(void* context, std::byte* data, std::size_t size) noexcept;
    void* Context = nullptr;
};

// The one source of every caller: bytes from the OS generator, read in blocks so a long password
// costs few system calls, and wiped in one pass once a result is made (WipeHandedOut), when the
// source reseeds, fails or is destroyed.
class SystemRandomSource final : public RandomSource {
public:
    SystemRandomSource() noexcept = default;
    explicit SystemRandomSource(ByteSupply supply) noexcept : supply_(supply) {}
    SystemRandomSource(const SystemRandomSource&) = delete;
    SystemRandomSource& operator=(const SystemRandomSource&) = delete;
    ~SystemRandomSource() override;

    void Reseed() noexcept override;
    [[nodiscard]] std::uint32_t NextBytes(unsigned width) noexcept override;
    [[nodiscard]] bool Failed() const noexcept override { return failed_; }
    // Makes the first fill after a reseed about that size, up to the whole block; the largest
    // of several announcements counts.
    void WillRead(std::size_t bytes) noexcept override;
    void WipeHandedOut() noexcept override;

    // The bytes read and not yet handed out, after a fill when none are left; empty once the
    // source has failed. Take(k) hands out the first k of them, as NextBytes would one by one.
    [[nodiscard]] std::span<const std::byte> Unread() noexcept {
        if (used_ == kBlockBytes && (failed_ || !Refill())) {
            failed_ = true;
            return {};
        }
        return {&block_[used_], kBlockBytes - used_};
    }
    void Take(std::size_t bytes) noexcept { used_ += bytes; }

    // Room for the longest password (9999 characters of a pool up to 256, rejections
    // included) in one fill.
    static constexpr std::size_t kBlockBytes = 16384;

private:
    // The first fill after a reseed is small, so a short password costs one small read; each
    // further fill doubles, up to the whole block.
    static constexpr std::size_t kFirstFillBytes = 64;
    [[nodiscard]] bool Refill() noexcept;
    static bool FromSystem(void* context, std::byte* data, std::size_t size) noexcept;

    // Each fill lands at the end of the block and covers everything an earlier fill of the run
    // left, so block_[spent_, used_) are the bytes handed out and not yet wiped, block_[used_,
    // kBlockBytes) those still to hand out, and everything below spent_ is zero.
    std::array<std::byte, kBlockBytes> block_{};
    std::size_t used_ = kBlockBytes;
    std::size_t spent_ = kBlockBytes;
    std::size_t nextFill_ = kFirstFillBytes;
    bool failed_ = false;
    ByteSupply supply_{&FromSystem};
};

// Defined here so the generators, which see this final class, draw without a call per value.
inline std::uint32_t SystemRandomSource::NextBytes(unsigned width) noexcept {
    if (kBlockBytes - used_ < width && (failed_ || !Refill())) {
        failed_ = true;
        return 0;
    }
    std::uint32_t value = 0;
    for (unsigned i = 0; i < width; ++i) {
        value |= static_cast<std::uint32_t>(std::to_integer<std::uint8_t>(block_[used_ + i]))
                 << (8 * i);
    }
    used_ += width;
    return value;
}

} // namespace zelvaran
