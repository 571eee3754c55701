#include "generator/random_source.h"
#include "generator/secret_text.h"

#include <algorithm>
#include <cstdint>

namespace zelvaran {

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

void SystemRandomSource::WillRead(std::size_t bytes) noexcept {
    if (used_ == kBlockBytes && nextFill_ == kFirstFillBytes) {
        nextFill_ = std::clamp(bytes, kFirstFillBytes, kBlockBytes);
    }
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
