#include "cli/result_random.h"

#include "generator/secret_text.h"

#include <algorithm>
#include <cstdint>

namespace zelvaran::cli {

ExactSystemSource::ExactSystemSource(std::size_t maxBytes)
    : capacity_(std::max<std::size_t>(maxBytes, 4)), bytes_(new std::byte[capacity_]) {}

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

bool ExactSystemSource::Fill(std::size_t bytes) noexcept {
    // The few bytes a wider value could not use are wiped before the read moves past them.
    SecureWipe(bytes_.get() + used_, filled_ - used_);
    const std::size_t size = std::min(bytes, capacity_);
    if (!FillFromSystem(bytes_.get(), size)) {
        SecureWipe(bytes_.get(), size);
        used_ = filled_ = 0;
        return false;
    }
    used_ = 0;
    filled_ = size;
    return true;
}

std::uint32_t ExactSystemSource::NextBytes(unsigned width) noexcept {
    if (failed_) {
        return 0;
    }
    // A result that reads more than expected (rejected values, a redrawn password) still gets
    // fresh bytes, just in more reads.
    if (filled_ - used_ < width && !Fill(capacity_)) {
        failed_ = true;
        return 0;
    }
    std::uint32_t value = 0;
    // Each byte is wiped as it is handed out, so nothing that could rebuild a result stays;
    // volatile stores, like SystemRandomSource's, cost less than a call per value.
    volatile std::byte* spent = &bytes_[used_];
    for (unsigned i = 0; i < width; ++i) {
        value |= static_cast<std::uint32_t>(std::to_integer<std::uint8_t>(bytes_[used_ + i]))
                 << (8 * i);
        spent[i] = std::byte{0};
    }
    used_ += width;
    return value;
}

} // namespace zelvaran::cli
