// The random source of zelvaran-cli: before each result it reads from the operating system
// exactly the bytes that result will use, in one call, and nothing is kept from one result to
// the next. (The window's SystemRandomSource reads ahead in growing blocks instead, which suits
// one long password; a run of 100000 short ones would pay for 192 bytes a time.)
#pragma once

#include <cstddef>
#include <memory>

#include "generator/random_source.h"

namespace zelvaran::cli {

// A random source that is told, before each result, how many values the result will draw.
class ResultSource : public RandomSource {
public:
    virtual void Expect(std::size_t values) noexcept = 0;
};

class ExactSystemSource final : public ResultSource {
public:
    // The most values one result can ask for: the buffer is sized once and never moves.
    explicit ExactSystemSource(std::size_t maxValues);
    ExactSystemSource(const ExactSystemSource&) = delete;
    ExactSystemSource& operator=(const ExactSystemSource&) = delete;
    ~ExactSystemSource() override;

    void Expect(std::size_t values) noexcept override { expected_ = values; }
    // Wipes what is left of the previous result and reads the expected values afresh.
    void Reseed() noexcept override;
    [[nodiscard]] float Next() noexcept override;
    [[nodiscard]] bool Failed() const noexcept override { return failed_; }

private:
    static constexpr std::size_t kBytesPerValue = 3; // 24 bits, as SystemRandomSource
    [[nodiscard]] bool Fill(std::size_t values) noexcept;

    // Left uninitialised: only what a result reads from the system is ever touched.
    std::size_t capacity_;
    std::unique_ptr<std::byte[]> bytes_;
    std::size_t used_ = 0;
    std::size_t filled_ = 0;
    std::size_t expected_ = 0;
    bool failed_ = false;
};

// Any other source (a test's, the fuzzer's) as a ResultSource that ignores the hint.
class AnySource final : public ResultSource {
public:
    explicit AnySource(RandomSource& inner) noexcept : inner_(inner) {}
    void Expect(std::size_t) noexcept override {}
    void Reseed() noexcept override { inner_.Reseed(); }
    [[nodiscard]] float Next() noexcept override { return inner_.Next(); }
    [[nodiscard]] bool Failed() const noexcept override { return inner_.Failed(); }

private:
    RandomSource& inner_;
};

} // namespace zelvaran::cli
