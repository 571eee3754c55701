#include "generator/random_source.h"
#include "generator/secret_text.h"

#include <algorithm>
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
    nextFill_ = kFirstFillBytes;
    failed_ = false;
}

bool SystemRandomSource::Refill() noexcept {
    static_assert(kBlockBytes % kFirstFillBytes == 0 &&
                      ((kBlockBytes / kFirstFillBytes) & (kBlockBytes / kFirstFillBytes - 1)) == 0,
                  "doubling the first fill must reach the block size exactly");
    const std::size_t start = kBlockBytes - nextFill_;
    if (!FillFromSystem(&block_[start], nextFill_)) {
        SecureWipe(block_.data(), block_.size());
        return false;
    }
    used_ = start;
    nextFill_ = std::min(2 * nextFill_, kBlockBytes);
    return true;
}

} // namespace zelvaran
