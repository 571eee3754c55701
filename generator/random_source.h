#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace zelvaran {

// A uniform source of values r with 0 <= r < 1. Reseed runs at the start of every Generate
// command; the generators call only Next, once per drawn character.
class RandomSource {
public:
    virtual ~RandomSource() = default;
    virtual void Reseed() noexcept = 0;
    [[nodiscard]] virtual float Next() noexcept = 0;
    // True once the source could not produce a value; the run's result must then be discarded.
    [[nodiscard]] virtual bool Failed() const noexcept = 0;
};

// Fills a buffer from the operating system's cryptographic generator (BCryptGenRandom on
// Windows, getrandom on Linux). Returns false when it could not.
[[nodiscard]] bool FillFromSystem(std::byte* data, std::size_t size) noexcept;

// Values from the OS generator, read in blocks so a long password costs few system calls.
class SystemRandomSource final : public RandomSource {
public:
    SystemRandomSource() noexcept = default;
    SystemRandomSource(const SystemRandomSource&) = delete;
    SystemRandomSource& operator=(const SystemRandomSource&) = delete;
    ~SystemRandomSource() override;

    void Reseed() noexcept override;
    [[nodiscard]] float Next() noexcept override;
    [[nodiscard]] bool Failed() const noexcept override { return failed_; }

private:
    static constexpr std::size_t kBytesPerValue = 3; // 24 bits: the whole float mantissa
    static constexpr std::size_t kBlockBytes = kBytesPerValue * 2048;
    // The first fill after a reseed is small, so a short password costs one small read; each
    // further fill doubles, up to the whole block.
    static constexpr std::size_t kFirstFillBytes = kBytesPerValue * 64;
    [[nodiscard]] bool Refill() noexcept;

    // Unused values are block_[used_, kBlockBytes): each fill lands at the end of the block.
    std::array<std::byte, kBlockBytes> block_{};
    std::size_t used_ = kBlockBytes;
    std::size_t nextFill_ = kFirstFillBytes;
    bool failed_ = false;
};

// Defined here so the generators, which see this final class, draw without a call per value.
inline float SystemRandomSource::Next() noexcept {
    if (failed_) {
        return 0.0f;
    }
    if (used_ + kBytesPerValue > kBlockBytes && !Refill()) {
        failed_ = true;
        return 0.0f;
    }
    const auto byteAt = [this](std::size_t i) {
        return static_cast<std::uint32_t>(std::to_integer<std::uint8_t>(block_[used_ + i]));
    };
    const std::uint32_t bits = byteAt(0) | (byteAt(1) << 8) | (byteAt(2) << 16);
    // Scrub the bytes just used, so once a password has been cut from the read-out box nothing
    // that could rebuild it stays behind here. Volatile stores cost less than a call per value
    // and the compiler may not drop them either.
    volatile std::byte* used = &block_[used_];
    for (std::size_t i = 0; i < kBytesPerValue; ++i) {
        used[i] = std::byte{0};
    }
    used_ += kBytesPerValue;
    return static_cast<float>(bits) * 0x1p-24f;
}

} // namespace zelvaran
