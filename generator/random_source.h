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
    [[nodiscard]] bool Refill() noexcept;

    std::array<std::byte, kBlockBytes> block_{};
    std::size_t used_ = kBlockBytes;
    bool failed_ = false;
};

} // namespace zelvaran
