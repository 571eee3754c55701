// The random sources of zelvaran-cli. Every result starts afresh from the operating system, as
// every Generate of the window does; how it reads depends on the result's size. A short result
// (expecting up to 256 bytes) gets about its bytes in one call from ExactSystemSource: a run of
// 100000 short passwords then pays for a few dozen bytes a time instead of the window's first
// read. A longer one gets the window's SystemRandomSource, whose growing blocks cost few calls and
// whose draws the core inlines; its Reseed throws away whatever an earlier result left.
#pragma once

#include <cstddef>
#include <memory>

#include "generator/random_source.h"

namespace zelvaran::cli {

// Hands out the source for results that expect to read a given number of bytes each.
class ResultSource {
public:
    virtual ~ResultSource() = default;
    [[nodiscard]] virtual RandomSource& For(std::size_t bytes) noexcept = 0;
};

class ExactSystemSource final : public RandomSource {
public:
    // The most bytes one read can bring: the buffer is sized once and never moves.
    explicit ExactSystemSource(std::size_t maxBytes);
    ExactSystemSource(const ExactSystemSource&) = delete;
    ExactSystemSource& operator=(const ExactSystemSource&) = delete;
    ~ExactSystemSource() override;

    // How many bytes each following result is expected to read.
    void Expect(std::size_t bytes) noexcept { expected_ = bytes; }
    // Wipes what is left of the previous result and reads the expected bytes afresh.
    void Reseed() noexcept override;
    [[nodiscard]] std::uint32_t NextBytes(unsigned width) noexcept override;
    [[nodiscard]] bool Failed() const noexcept override { return failed_; }

private:
    [[nodiscard]] bool Fill(std::size_t bytes) noexcept;

    // Left uninitialised: only what a result reads from the system is ever touched.
    std::size_t capacity_;
    std::unique_ptr<std::byte[]> bytes_;
    std::size_t used_ = 0;
    std::size_t filled_ = 0;
    std::size_t expected_ = 0;
    bool failed_ = false;
};

class SystemResultSource final : public ResultSource {
public:
    // getrandom hands out up to 256 bytes in one piece, whatever the entropy pool holds.
    static constexpr std::size_t kExactLimit = 256;
    [[nodiscard]] RandomSource& For(std::size_t bytes) noexcept override {
        if (bytes > kExactLimit) {
            return blocks_;
        }
        exact_.Expect(bytes);
        return exact_;
    }

private:
    ExactSystemSource exact_{kExactLimit};
    SystemRandomSource blocks_;
};

// Any other source (a test's, the fuzzer's) for results of every size.
class AnySource final : public ResultSource {
public:
    explicit AnySource(RandomSource& inner) noexcept : inner_(inner) {}
    [[nodiscard]] RandomSource& For(std::size_t) noexcept override { return inner_; }

private:
    RandomSource& inner_;
};

} // namespace zelvaran::cli
