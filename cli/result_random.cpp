#include "cli/result_random.h"

#include "generator/secret_text.h"

#include <algorithm>
#include <cstdint>

namespace zelvaran::cli {

ExactSystemSource::ExactSystemSource(std::size_t maxValues)
    : capacity_(kBytesPerValue * std::max<std::size_t>(maxValues, 1)),
      bytes_(new std::byte[capacity_]) {}

ExactSystemSource::~ExactSystemSource() {
    // Every value was wiped as it was used, and the rest at each reseed: only the unused tail
    // of the last result can hold anything.
    SecureWipe(bytes_.get() + used_, filled_ - used_);
}

void ExactSystemSource::Reseed() noexcept {
    SecureWipe(bytes_.get() + used_, filled_ - used_);
    used_ = filled_ = 0;
    failed_ = false;
    if (expected_ > 0 && !Fill(expected_)) {
        failed_ = true;
    }
}

bool ExactSystemSource::Fill(std::size_t values) noexcept {
    const std::size_t size = kBytesPerValue * std::min(values, capacity_ / kBytesPerValue);
    if (!FillFromSystem(bytes_.get(), size)) {
        SecureWipe(bytes_.get(), size);
        return false;
    }
    used_ = 0;
    filled_ = size;
    return true;
}

float ExactSystemSource::Next() noexcept {
    if (failed_) {
        return 0.0f;
    }
    // A result that draws more than it announced still gets fresh values, just in more reads.
    if (used_ + kBytesPerValue > filled_ && !Fill(capacity_ / kBytesPerValue)) {
        failed_ = true;
        return 0.0f;
    }
    std::uint32_t bits = 0;
    for (std::size_t i = 0; i < kBytesPerValue; ++i) {
        bits |= static_cast<std::uint32_t>(std::to_integer<std::uint8_t>(bytes_[used_ + i]))
                << (8 * i);
    }
    // Each value is wiped as it is handed out, so nothing that could rebuild a result stays;
    // volatile stores, like SystemRandomSource's, cost less than a call per value.
    volatile std::byte* spent = &bytes_[used_];
    for (std::size_t i = 0; i < kBytesPerValue; ++i) {
        spent[i] = std::byte{0};
    }
    used_ += kBytesPerValue;
    return static_cast<float>(bits) * 0x1p-24f;
}

} // namespace zelvaran::cli
