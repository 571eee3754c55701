#include "generator/random_source.h"
#include "generator/secret_text.h"

#include <cstdint>

namespace zelvaran {

// Each value is 24 fresh bits scaled by 2^-24, so it is exact in a float and lies on a uniform
// grid in [0, 1). A draw maps it to floor(r * L): with 2^24 grid points spread over L characters,
// each character gets either floor(2^24 / L) or one more point, so no character's chance is off
// by more than L / 2^24 relative to the others (under 5e-6 for the 74-character pool), far below
// anything an attacker could use against a password of a few dozen characters.

SystemRandomSource::~SystemRandomSource() {
    SecureWipe(block_.data(), block_.size());
}

void SystemRandomSource::Reseed() noexcept {
    // Bytes already read but not used are thrown away, so a run never starts on bytes that sat
    // in memory since an earlier one; a failure of an earlier run gets a fresh try.
    SecureWipe(block_.data(), block_.size());
    used_ = kBlockBytes;
    failed_ = false;
}

float SystemRandomSource::Next() noexcept {
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
    // that could rebuild it stays behind here. Volatile stores are cheaper than a call per value
    // and the compiler may not drop them either.
    volatile std::byte* used = &block_[used_];
    for (std::size_t i = 0; i < kBytesPerValue; ++i) {
        used[i] = std::byte{0};
    }
    used_ += kBytesPerValue;
    return static_cast<float>(bits) * 0x1p-24f;
}

bool SystemRandomSource::Refill() noexcept {
    if (!FillFromSystem(block_.data(), block_.size())) {
        SecureWipe(block_.data(), block_.size());
        return false;
    }
    used_ = 0;
    return true;
}

} // namespace zelvaran
