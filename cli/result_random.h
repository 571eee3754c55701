// The random sources of zelvaran-cli. Every result starts afresh from the operating system, as
// every Generate of the window does; how it reads depends on the result's size. A short result
// (up to 64 values) gets exactly its bytes in one call from ExactSystemSource: a run of 100000
// short passwords then pays for 60 bytes a time instead of the 192 of the window's first read.
// A longer one gets the window's SystemRandomSource, whose growing blocks cost few calls and whose
// draws the core inlines; its Reseed throws away whatever an earlier result left.
#pragma once

#include <cstddef>
#include <memory>

#include "generator/random_source.h"

namespace zelvaran::cli {

// Hands out the source for results that draw a given number of values each.
class ResultSource {
public:
    virtual ~ResultSource() = default;
    [[nodiscard]] virtual RandomSource& For(std::size_t values) noexcept = 0;
};

class ExactSystemSource final : public RandomSource {
public:
    // The most values one result can ask for: the buffer is sized once and never moves.
    explicit ExactSystemSource(std::size_t maxValues);
    ExactSystemSource(const ExactSystemSource&) = delete;
    ExactSystemSource& operator=(const ExactSystemSource&) = delete;
    ~ExactSystemSource() override;

    // How many values each following result draws.
    void Expect(std::size_t values) noexcept { expected_ = values; }
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

class SystemResultSource final : public ResultSource {
public:
    static constexpr std::size_t kExactLimit = 64;
    [[nodiscard]] RandomSource& For(std::size_t values) noexcept override {
        if (values > kExactLimit) {
            return blocks_;
        }
        exact_.Expect(values);
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
